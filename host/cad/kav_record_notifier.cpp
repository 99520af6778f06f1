#include "cad/kav_record_notifier.h"

namespace Kav {
namespace CAD {

RecordNotifier::RecordNotifier(QObject* parent) : QObject(parent) {}

} // namespace CAD
} // namespace Kav
