#include "gtools/kav_error_messages.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace Kav {
namespace GTools {
namespace {

struct Entry {
    QString id;
    QString text;
    QString textWt;
};

struct Registry {
    QMutex mutex;
    std::vector<Entry> entries;   // registration order; few entries, a linear search is enough

    std::vector<Entry>::iterator find(QString const& id)
    {
        return std::find_if(entries.begin(), entries.end(), [&id](Entry const& e) { return e.id == id; });
    }
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

void ErrorMessageContainer::registerError(char const* id, QString const& text, QString const& textWt)
{
    if (id == nullptr || *id == '\0') {
        qWarning("ErrorMessageContainer: an error without id was not registered");
        return;
    }
    QString const key = QString::fromUtf8(id);
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.find(key);
    if (it != r.entries.end()) {
        it->text = text;
        it->textWt = textWt;
    } else {
        r.entries.push_back(Entry{key, text, textWt});
    }
}

bool ErrorMessageContainer::hasError(QString const& id)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    return r.find(id) != r.entries.end();
}

QString ErrorMessageContainer::getText(QString const& id)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.find(id);
    return it != r.entries.end() ? it->text : QString();
}

QString ErrorMessageContainer::getTextWt(QString const& id)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.find(id);
    return it != r.entries.end() ? it->textWt : QString();
}

QStringList ErrorMessageContainer::getIds()
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    QStringList ids;
    for (Entry const& e : r.entries)
        ids.append(e.id);
    return ids;
}

void ErrorMessageContainer::unregisterError(QString const& id)
{
    Registry& r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.find(id);
    if (it != r.entries.end())
        r.entries.erase(it);
}

} // namespace GTools
} // namespace Kav
