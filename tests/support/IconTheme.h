// An icon theme of solid-colour icons in a temporary folder, made the desktop's only theme while
// the object lives; without icons it stands for a machine that has no theme at all.
#pragma once

#include "support/TestDir.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>

#include <fstream>
#include <initializer_list>
#include <utility>

class CTestIconTheme
{
public:
    using Icon = std::pair<const char*, QColor>;
    explicit CTestIconTheme(std::initializer_list<Icon> icons)
        : m_paths(QIcon::themeSearchPaths()), m_theme(QIcon::themeName()),
          m_fallback(QIcon::fallbackThemeName())
    {
        const std::filesystem::path theme = m_dir / "qyrtest";
        std::filesystem::create_directories(theme / "16x16/actions");
        std::ofstream(theme / "index.theme") << "[Icon Theme]\nName=qyrtest\nDirectories=16x16/actions\n\n"
                                                "[16x16/actions]\nSize=16\nType=Fixed\n";
        for (const auto& [name, colour] : icons)
        {
            QImage image(16, 16, QImage::Format_ARGB32);
            image.fill(colour);
            image.save(QString::fromStdString((theme / "16x16/actions" / name).string() + ".png"));
        }
        QIcon::setThemeSearchPaths({QString::fromStdString(m_dir.Path().string())});
        QIcon::setThemeName(icons.size() ? QStringLiteral("qyrtest") : QStringLiteral("qyr-no-theme"));
        QIcon::setFallbackThemeName(QStringLiteral("qyr-no-theme"));
    }
    ~CTestIconTheme()
    {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_theme);
        QIcon::setFallbackThemeName(m_fallback);
    }
    CTestIconTheme(const CTestIconTheme&) = delete;
    CTestIconTheme& operator=(const CTestIconTheme&) = delete;

    // The colour in the middle of an icon drawn at 16 by 16 pixels (invalid for a null icon).
    static QColor Centre(const QIcon& icon)
    {
        return icon.isNull() ? QColor() : icon.pixmap(16, 16).toImage().pixelColor(8, 7);
    }

private:
    CTestDir m_dir;
    QStringList m_paths;
    QString m_theme;
    QString m_fallback;
};
