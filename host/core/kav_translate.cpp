#include "kav_translate.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

#include <map>
#include <memory>

namespace Kav {
namespace {

struct TranslationSettings {
    QString directory;
    QString locale;
    // Installed catalogues by name; they stay installed for the life of the process.
    std::map<QString, std::unique_ptr<QTranslator>> installed;
};

TranslationSettings& settings()
{
    static TranslationSettings s;
    return s;
}

} // namespace

QString translate(char const* context, char const* text)
{
    return QCoreApplication::translate(context, text);
}

void setTranslationDirectory(QString const& directory)
{
    settings().directory = directory;
}

QString translationDirectory()
{
    if (!settings().directory.isEmpty())
        return settings().directory;
    if (QCoreApplication::instance())
        return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"));
    return QString();
}

void setTranslationLocale(QString const& locale)
{
    settings().locale = locale;
}

QString translationLocale()
{
    return settings().locale.isEmpty() ? QLocale().name() : settings().locale;
}

bool installTranslator(char const* name)
{
    if (!QCoreApplication::instance() || !name || !*name)
        return false;
    QString const key = QString::fromUtf8(name);
    auto& installed = settings().installed;
    if (installed.count(key))
        return false;
    auto translator = std::make_unique<QTranslator>();
    // QTranslator::load falls back from "de_DE" to "de" by itself.
    QString const file = key + QLatin1Char('_') + translationLocale();
    if (!translator->load(file, translationDirectory()))
        return false;
    if (!QCoreApplication::installTranslator(translator.get()))
        return false;
    installed.emplace(key, std::move(translator));
    return true;
}

} // namespace Kav
