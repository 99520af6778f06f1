#pragma once
// Access streams written field by field from their byte layouts, with the raw stream
// primitives and never through the accesses, so that the accesses can be checked against
// them. The blocks the host owns (element properties, label template) are written by the
// host types themselves.
#include "cad/kav_elem_prop.h"
#include "core/kav_kstring.h"
#include "core/kav_vec.h"
#include "glabel/kav_label_element.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace MvpGolden {

// Type and version in the header of every golden stream.
extern char const* const STREAM_TYPE;
constexpr unsigned int STREAM_VERSION = 1;

struct ViewValues {
    Kav::BaVec3d<double> rotation{12.5, -45.25, 90.0};
    Kav::BaVec3d<double> translation{-3.75, 2.5, 100.125};
    Kav::BaVec3d<double> axisScale{1.0, 2.0, 0.5};
    double scale = 3.25;
};

struct LegendValues {
    QString oldSettings = QStringLiteral("range=-0.5..0.5 steps=12");
    Kav::KString legendData{"\x01\x00legend\xff\xfe", 10};
    Kav::BaVec2d<double> position{120.5, 48.25};
    // Written in version 3 blocks only to be passed over.
    Kav::BaVec2d<double> passedOverPosition{7.0, 8.0};
};

struct ElementValues {
    bool visible = true;
    bool autoLabelPlacement = false;
    Kav::BaVec2d<double> labelPosition{310.5, 122.25};
    Kav::BaVec3d<double> manualOriginOffset{1.5, -2.5, 3.5};
    bool labelVisible = false;
    bool hasPullOut = true;
    Kav::BaVec3d<double> pullOutPoint{10.0, 20.0, 30.0};
    bool firstKink = false;
    unsigned int elementType = 21; // a 2D section inspection
    bool isSectionInsp2d = true;
    bool autoSampling = true;
    double sampling = 0.75;

    Kav::CAD::DefaultProperties defaultProperties{0x336699, 0.25};
    Kav::CAD::ElemProp elemProp = makeElemProp();
    Kav::GLabel::LabelTemplate labelTemplate = makeTemplate();

    static Kav::CAD::ElemProp makeElemProp();
    static Kav::GLabel::LabelTemplate makeTemplate();
};

// The element values of each kind of golden file. Every bool field has its own pattern over
// the three sets, so two swapped bool fields differ in one set at least; the other fields of
// the two forms differ too, so a field left unread shows when one form is read over the other.
enum class ElementSet {
    ElemPropForm, // the element files in the ElemProp form
    DefaultForm,  // the element files in the DefaultProperties form
    InFeature,    // the element blocks of the feature files
};
ElementValues elementValues(ElementSet set);

struct FeatureValues {
    bool featureFlag = false;
    bool featureFlag2 = true;
    unsigned int featureValue = 0xA5A50042u;
};

// How the blocks after an element's main block look.
enum class Properties {
    ElemProp,          // ElemProp, then the filler block
    Default,           // DefaultProperties
    BadProperties,     // an ElemProp block the host cannot read, then the filler block
    BadLabelTemplate,  // ElemProp and filler, then a label template block the host rejects
};

// Whole streams, header included. The version is the main block's; the layout written is
// that of the version, or of the newest one for a version past it.
QByteArray viewStream(unsigned int version);
QByteArray legendStream(unsigned int version);
QByteArray elementStream(unsigned int version, Properties properties);
QByteArray containerStream(unsigned int version);
// The feature block, then the element's blocks of version 6 in the ElemProp form.
QByteArray featureStream(unsigned int version, Properties properties = Properties::ElemProp,
                         unsigned int elementVersion = 6);

struct GoldenFile {
    QString name;
    QByteArray bytes;
};

// Every golden file of tests/data/access, by file name.
std::vector<GoldenFile> goldenFiles();

} // namespace MvpGolden
