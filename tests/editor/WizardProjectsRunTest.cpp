// A project the editor's wizard makes from each installed template runs its scripts in the player.
// The editor's half runs in the editor application's test program, which copies the projects it
// made where this test says; the player then opens each of them.
#include "RunningDemo.h"

#include "model/ScriptObject.h"
#include "player/PlexrunApp.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using namespace player_test;

TEST(WizardProjectsRun, AProjectTheWizardMadeFromEachTemplateRunsItsScriptsWithoutAnError)
{
    QTemporaryDir made;
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QYR_WIZARD_PROJECTS", made.path());
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.start(
        QStringLiteral(QYR_EDAPP_TESTS),
        {QStringLiteral("--gtest_filter=ProjectFrame.TheWizardMakesAProjectFromEachInstalledTemplate")});
    ASSERT_TRUE(editor.waitForFinished(300000));
    ASSERT_EQ(0, editor.exitCode());
    const QStringList projects = QDir(made.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(projects.isEmpty());

    for (const QString& project : projects)
    {
        RunningDemo demo(
            [&](const InstallRoot& root)
            {
                const QString from = made.path() + "/" + project;
                QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
                while (it.hasNext())
                {
                    const QString file = it.next();
                    const QString target =
                        root.root + "/User/" + project + "/" + QDir(from).relativeFilePath(file);
                    QDir().mkpath(QFileInfo(target).path());
                    QFile::copy(file, target);
                }
            },
            {project.toStdString()});
        ASSERT_NE(demo.view, nullptr) << project.toStdString();
        ASSERT_TRUE(demo.view->IsScriptLoaded()) << project.toStdString();
        CScriptObject* script = AfxGetPlexrunApp()->m_pScriptObject;
        ASSERT_NE(script, nullptr);
        ASSERT_GT(script->GetMethodsCount(), 0) << project.toStdString();
        MessageLog messages;
        for (int i = 0; i < script->GetMethodsCount(); ++i)
            demo.view->RunScriptProcedure(script->GetNameAt(i), L"Tank1", 0);
        EXPECT_TRUE(messages.texts.empty())
            << project.toStdString() << ": " << (messages.texts.empty() ? "" : messages.texts[0].ToUtf8());
    }
}
