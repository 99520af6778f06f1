#pragma once

#include "kavhost_export.h"

#include <QString>

namespace Kav {
namespace Filename {

// A file name taken apart. Works on the text alone; the file need not exist.
class KAVHOST_EXPORT Name {
public:
    explicit Name(QString const& name);

    // The last path component without its last suffix: "/a/b/view.rst" gives "view".
    QString getBaseName() const;
    // The last path component: "/a/b/view.rst" gives "view.rst".
    QString getFileName() const;
    // The last suffix without the dot, or empty: "view.rst" gives "rst".
    QString getEnding() const;
    // Everything before the last path component, without the trailing separator.
    QString getDirectory() const;

private:
    QString name_;
};

} // namespace Filename
} // namespace Kav
