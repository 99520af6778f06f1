// A feature access as another library would write it: the plug-in's base keeps the
// element's visual state and the feature's own values and streams them; this class does
// the scene work. Run on a small host scene, it must round-trip through the stream and copy.
#include "access/mvp_feature_property_access_base.h"
#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "core/kav_errors.h"
#include "glabel/kav_label_element.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_host_session.h"
#include "propertyaccess/kav_property_access_types.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

using namespace Kav;

namespace {

constexpr auto HOLE_ACCESS_TYPE = static_cast<PropertyAccess::PropAccessType_t>(100);

class HoleFeatureAccess : public MCADVisProp::FeaturePropertyAccessBase {
public:
    HoleFeatureAccess() : FeaturePropertyAccessBase(HOLE_ACCESS_TYPE) {}

    void apply(QString const& name) const override { elementAccess.apply(name); }
    void extract(QString const& name) override
    {
        elementAccess.extract(name);
        setExplorerName(name);
        featureFlag = true;
        featureFlag2 = name.startsWith(QStringLiteral("Hole"));
        featureValue = static_cast<unsigned int>(name.size());
    }
    PropertyAccessBase* copy() const override
    {
        auto* access = new HoleFeatureAccess;
        copyTo(access);
        return access;
    }
    QString getTypeString() const override { return QStringLiteral("hole_feature"); }
    QString getTypeDescription() const override { return QStringLiteral("hole feature"); }

    unsigned int value() const { return featureValue; }
    bool flag2() const { return featureFlag2; }
    bool elementVisible() const { return elementAccess.getVisible(); }
};

QByteArray saved(PropertyAccess::PropertyAccessBase const& access)
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString("HOLE"), 1);
    access.saveStream(&out);
    out.close();
    return bytes;
}

int failures = 0;

void expect(bool ok, char const* what)
{
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // What InitLibrary registers: element accesses, and so the feature's, get their usage
    // flags from it.
    MCADVisProp::CADElementPropertyAccessCreator elementCreator;
    MCADCmd::HostSession session;
    CAD::Element* hole = session.scene().addElement(
        CAD::ElementCreator::create(CAD::ElementCreator::CYLINDER, QStringLiteral("Hole 7")));
    hole->setLabel(std::make_unique<LabelElement>(hole));
    hole->setElementVisible(false);

    HoleFeatureAccess captured;
    captured.extract(QStringLiteral("Hole 7"));
    QByteArray const bytes = saved(captured);
    HoleFeatureAccess loaded;
    try {
        IO::InStream in(bytes);
        expect(loaded.loadStream(&in) == 5, "loadStream reads five blocks");
        expect(in.atEnd(), "the stream is read to its end");
    } catch (IO::StreamException const& e) {
        std::fprintf(stderr, "stream error: %s\n", e.what());
        return 1;
    }
    expect(loaded.value() == 6 && loaded.flag2() && !loaded.elementVisible(), "loaded values");
    expect(saved(loaded) == bytes, "a loaded access saves the bytes it was read from");

    hole->setElementVisible(true);
    loaded.apply(QStringLiteral("Hole 7"));
    expect(!hole->isVisible(CAD::VISIBLE_OWN), "apply restores the element's visibility");

    MCADCmd::CommandInterface::setInterface(nullptr);
    try {
        loaded.apply(QStringLiteral("Hole 7"));
        expect(false, "apply without a command interface throws");
    } catch (ProgError const& e) {
        expect(e.getFunction() == QStringLiteral("Kav::MCADVisProp::CADElementPropertyAccess::apply"),
               "the error names the element access's apply");
    }

    if (failures == 0)
        std::printf("consumer: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
