#pragma once

#include <QMap>
#include <QString>

namespace Kav {
namespace CAD {

// Keyword values (such as a part name or a date) that label texts can refer to by name.
class TokenContainer {
public:
    void set(QString const& key, QString const& value) { tokens_.insert(key, value); }
    bool contains(QString const& key) const { return tokens_.contains(key); }
    QString value(QString const& key) const { return tokens_.value(key); }
    int size() const { return tokens_.size(); }

    // `text` with every "${key}" of a known key replaced by its value.
    QString expand(QString const& text) const
    {
        QString out = text;
        for (auto it = tokens_.constBegin(); it != tokens_.constEnd(); ++it)
            out.replace(QStringLiteral("${") + it.key() + QLatin1Char('}'), it.value());
        return out;
    }

private:
    QMap<QString, QString> tokens_;
};

} // namespace CAD
} // namespace Kav
