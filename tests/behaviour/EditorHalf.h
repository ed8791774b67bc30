// The editor's half of a test that the player finishes: one test of the behaviour tests' program
// (the editor and the player cannot share one program), run with an environment variable naming
// where it saves its screen.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

inline ::testing::AssertionResult RunEditorHalf(const QString& test, const char* variable,
                                                const QString& screen)
{
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromUtf8(variable), screen);
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.start(QStringLiteral(QYR_BEHAVIOUR_TESTS), {QStringLiteral("--gtest_filter=") + test});
    if (!editor.waitForFinished(300000))
        return ::testing::AssertionFailure() << "the editor's half did not finish";
    if (editor.exitCode() != 0)
        return ::testing::AssertionFailure() << "the editor's half failed";
    if (!QFile::exists(screen))
        return ::testing::AssertionFailure() << "the editor's half saved no screen";
    return ::testing::AssertionSuccess();
}
