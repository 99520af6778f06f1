#include "access/mvp_glview_property_access.h"

#include "access/mvp_access_fields_p.h"
#include "access/mvp_property_access_p.h"
#include "core/kav_limits.h"
#include "core/kav_translate.h"
#include "gcad/kav_gcad.h"
#include "gl/kav_view.h"
#include "io/kav_stream.h"
#include "mcadcmd/kav_command_interface.h"

namespace Kav {
namespace MCADVisProp {

using namespace PropertyAccess;

namespace {
constexpr unsigned int VERSION = 1;
}

GLViewPropertyAccess::GLViewPropertyAccess() : PropertyAccessBase(PROP_ACC_3D_VIEW) {}

GLViewPropertyAccess::~GLViewPropertyAccess() = default;

unsigned int GLViewPropertyAccess::getNumberOfBlocks() const
{
    return 1;
}

unsigned int GLViewPropertyAccess::getMainBlockSize() const
{
    return 3 * IO::Stream::SizeVec3d + IO::Stream::SizeDouble;
}

void GLViewPropertyAccess::saveStream(IO::OutStream* out) const
{
    out->beginBlock(getMainBlockSize(), VERSION);
    IO::writeVec3d(out, rotation);
    IO::writeVec3d(out, translation);
    IO::writeVec3d(out, axisScale);
    out->writeDouble(scale);
    out->endBlock();
}

unsigned int GLViewPropertyAccess::loadStream(IO::InStream* in)
{
    in->openBlock();
    if (in->getBlockVersion() != VERSION)
        return 0;
    // Read into locals: a truncated block must not leave half the fields changed.
    BaVec3d<double> r, t, a;
    IO::readVec3d(in, &r);
    IO::readVec3d(in, &t);
    IO::readVec3d(in, &a);
    double s = in->readDouble();
    requireInRange(in, Limits::ANGLE.contains(r), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the view's rotation"));
    requireInRange(in, Limits::COORDINATE.contains(t), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the view's translation"));
    requireInRange(in, Limits::AXIS_SCALE.contains(a), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the view's axis scale"));
    requireInRange(in, Limits::SCALE.contains(s), QT_TRANSLATE_NOOP("MCADVisProp_prop_acc", "the view's scale"));
    in->closeBlock();
    rotation = r;
    translation = t;
    axisScale = a;
    scale = s;
    return 1;
}

void GLViewPropertyAccess::extract(QString const&)
{
    rotation = BaVec3d<double>(0.0, 0.0, 0.0);
    translation = BaVec3d<double>(0.0, 0.0, 0.0);
    axisScale = BaVec3d<double>(0.0, 0.0, 0.0);
    scale = 1.0;
    MCADCmd::CommandInterface* ci = requireInterface("Kav::MCADVisProp::GLViewPropertyAccess::extract", __LINE__);
    setExplorerName(translate("MCADVisProp_prop_acc", "3d view"));
    if (GL::ViewCreator* view = ci->getGLViewCreator()) {
        rotation = view->getRotation();
        translation = view->getTranslation();
        axisScale = view->getAxisScale();
        scale = view->getScale();
    }
}

void GLViewPropertyAccess::apply(QString const&) const
{
    MCADCmd::CommandInterface* ci = requireInterface("Kav::MCADVisProp::GLViewPropertyAccess::apply", __LINE__);
    GCAD::RenderCallback* callback = ci->getRenderCallback();
    GL::ViewCreator* view = ci->getGLViewCreator();
    if (!callback || !view)
        return;
    GL::RenderObject* render = callback->getRenderObject();
    if (!render)
        return;
    // The view creator first, then the render object, for each value.
    if (getUsageFlag(PROP_ROTATION)) {
        view->setRotation(rotation);
        render->setRotation(rotation);
    }
    if (getUsageFlag(PROP_TRANSLATION)) {
        view->setTranslation(translation);
        render->setTranslation(translation);
    }
    if (getUsageFlag(PROP_SCALE)) {
        view->setScale(scale);
        render->setScale(scale);
    }
    if (getUsageFlag(PROP_AXIS_SCALE)) {
        view->setAxisScale(axisScale);
        render->setAxisScale(axisScale);
    }
    view->setMainViewDirectionFromTransformation();
}

PropertyAccessBase* GLViewPropertyAccess::copy() const
{
    auto* access = new GLViewPropertyAccess;
    *access = *this;
    return access;
}

QString GLViewPropertyAccess::getTypeString() const
{
    return QStringLiteral("3d_view");
}

QString GLViewPropertyAccess::getTypeDescription() const
{
    return translate("MCADVisProp_prop_acc", "3d view properties #type for error msg");
}

unsigned int GLViewPropertyAccess::memSize() const
{
    return 80;
}

GLViewPropertyAccessCreator::GLViewPropertyAccessCreator() : PropertyAccessCreator(PROP_ACC_3D_VIEW) {}

PropertyAccessBase* GLViewPropertyAccessCreator::create() const
{
    return new GLViewPropertyAccess;
}

PropTemplateCat_t GLViewPropertyAccessCreator::getPropertyDescriptions(PropertyDescriptions* out) const
{
    out->emplace_back(PROP_ROTATION, translate("MCADVisProp", "rotation"));
    out->emplace_back(PROP_TRANSLATION, translate("MCADVisProp", "translation"));
    out->emplace_back(PROP_SCALE, translate("MCADVisProp", "scale"));
    out->emplace_back(PROP_AXIS_SCALE, translate("MCADVisProp", "axis scale"));
    return CAT_RESTORE_3D;
}

// Each of the four values is applied when its own property is enabled.
class GLViewFields : public FieldTable<GLViewPropertyAccess> {
public:
    using A = GLViewPropertyAccess;
    GLViewFields()
    {
        fields_ = {
            {PROP_ROTATION, true, "rotation", nullptr, [](A const& a, A const& b) { return a.rotation == b.rotation; },
             [](A const& a) { return vectorText(a.rotation); }},
            {PROP_TRANSLATION, true, "translation", nullptr,
             [](A const& a, A const& b) { return a.translation == b.translation; },
             [](A const& a) { return vectorText(a.translation); }},
            {PROP_SCALE, true, "scale", nullptr, [](A const& a, A const& b) { return a.scale == b.scale; },
             [](A const& a) { return numberText(a.scale); }},
            {PROP_AXIS_SCALE, true, "axis_scale", nullptr, [](A const& a, A const& b) { return a.axisScale == b.axisScale; },
             [](A const& a) { return vectorText(a.axisScale); }},
        };
        properties_ = {
            {PROP_ROTATION, [](A& to, A const& from) { to.rotation = from.rotation; },
             [](A const& a, A const& b) { return a.rotation == b.rotation; }},
            {PROP_TRANSLATION, [](A& to, A const& from) { to.translation = from.translation; },
             [](A const& a, A const& b) { return a.translation == b.translation; }},
            {PROP_SCALE, [](A& to, A const& from) { to.scale = from.scale; },
             [](A const& a, A const& b) { return a.scale == b.scale; }},
            {PROP_AXIS_SCALE, [](A& to, A const& from) { to.axisScale = from.axisScale; },
             [](A const& a, A const& b) { return a.axisScale == b.axisScale; }},
        };
    }

private:
    static QString vectorText(BaVec3d<double> const& v) { return listText({v.x, v.y, v.z}); }
};

AccessFields const& glViewFields()
{
    static GLViewFields const fields;
    return fields;
}

} // namespace MCADVisProp
} // namespace Kav
