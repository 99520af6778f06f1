// Project files: one block stream of type "KAVHOST_PROJECT".
//   Version 3: view block, legend block, counts block (elements, reports, accesses), then
//   per element one element block followed by its ElemProp block, then one frame block per
//   distinct access, then per report one report block (version 4) that lists its accesses as
//   runs of consecutive places among the frames (first, length), followed by a picture block:
//   the snapshot's PNG picture as a string, empty when it has none. Snapshots of one scene
//   mostly hold equal accesses: each is stored once, and a report's list takes a few runs. An
//   access that differs little from the one the report before held at its place (a label the
//   view moved) is stored as the changes to that one's stream, and a report's list as the
//   changes to the list of the report before (position, length, first place) when that takes
//   fewer runs.
//   Version 2 (still read): the same with every frame whole and every list as runs; report
//   blocks of version 3 are followed by a picture block, those of version 2 have none.
//   Version 1 (still read): counts of elements and reports only, and each report block is
//   followed by a frame block for each of its accesses.
//   A frame holds the access's type, its type string, the host base's data (explorer name,
//   usage flags) and the access's own blocks as a stream of their own, so one access that
//   cannot be read is skipped without losing its neighbours.
#include "mcadcmd/scene/kav_scene.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "core/kav_limits.h"
#include "core/kav_progress.h"
#include "core/kav_translate.h"
#include "glabel/kav_label_element.h"
#include "io/kav_stream.h"
#include "cad/kav_shared_accesses.h"
#include "mcadcmd/persist/kav_project_p.h"
#include "mcadcmd/scene/kav_scene_state_p.h"
#include "propertyaccess/kav_property_access_base.h"
#include "propertyaccess/kav_property_access_factory.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace Kav {
namespace MCADCmd {

namespace {

using namespace ProjectFile;

char const* const PROJECT_TYPE = "KAVHOST_PROJECT";
constexpr unsigned int PROJECT_VERSION = 3;
// Each access stored once, every frame whole.
constexpr unsigned int PROJECT_VERSION_WHOLE_FRAMES = 2;
// A report's list as runs of places or as changes to the list before, and a picture block.
constexpr unsigned int REPORT_VERSION = 4;
// Before accesses were stored once: each report followed by its own frames.
constexpr unsigned int PROJECT_VERSION_FRAMES_PER_REPORT = 1;

// In a version 2 project, report blocks of this version are followed by their picture block.
constexpr unsigned int REPORT_BLOCK_WITH_PICTURE = 3;
// Far beyond a snapshot's small picture: a bigger one is skipped unread.
constexpr quint64 MAX_PICTURE_BYTES = 4u << 20;
constexpr int MAX_PICTURE_SIDE = 1024;

// The picture block after a report block; an unreadable picture is named and skipped.
QByteArray readPicture(IO::InStream& in, QString const& report, ErrorLog& skipped)
{
    in.openBlock();
    QString why;
    QByteArray png;
    if (in.getBlockVersion() != 1) {
        why = translate("Kav::MCADCmd", "picture block of version %1").arg(in.getBlockVersion());
    } else if (in.bytesLeft() > MAX_PICTURE_BYTES + IO::Stream::SizeUInt) {
        why = translate("Kav::MCADCmd", "the picture is too large (%1 bytes)").arg(in.bytesLeft());
    } else {
        png = in.readString().toByteArray();
        if (!png.isEmpty()) {
            QBuffer buffer(&png);
            QImageReader reader(&buffer, "png");
            QSize const size = reader.size();
            if (!reader.canRead() || !size.isValid() || size.width() > MAX_PICTURE_SIDE || size.height() > MAX_PICTURE_SIDE)
                why = translate("Kav::MCADCmd", "the picture is no PNG picture of at most %1 x %1 pixels").arg(MAX_PICTURE_SIDE);
        }
    }
    in.closeBlock();
    if (why.isEmpty())
        return png;
    skipped << translate("Kav::MCADCmd", "report \"%1\": %2, skipped").arg(report, why) << END_LOG;
    return QByteArray();
}

struct LoadedReport {
    std::unique_ptr<CAD::Report> report;
    CAD::Report::AccessList accesses; // held (SharedAccesses) until the report takes them
};

QString skippedText(QString const& report, unsigned int index, Skipped const& s)
{
    return translate("Kav::MCADCmd", "report \"%1\": access %2 (type %3 \"%4\")")
               .arg(report)
               .arg(index + 1)
               .arg(static_cast<int>(s.type))
               .arg(s.typeString.toQString()) +
           translate("Kav::MCADCmd", " skipped: ") + s.why;
}

// The accesses a load has read, held until the reports take them; let go if it fails.
class HeldAccesses {
public:
    ~HeldAccesses()
    {
        for (PropertyAccess::PropertyAccessBase* a : held_)
            CAD::SharedAccesses::instance().release(a);
    }
    void add(PropertyAccess::PropertyAccessBase* a) { held_.push_back(a); }
    PropertyAccess::PropertyAccessBase* at(std::size_t i) const { return held_[i]; }
    std::size_t size() const { return held_.size(); }

private:
    CAD::Report::AccessList held_;
};

} // namespace

bool saveProject(Scene& scene, QString const& path, ErrorLog* log)
{
    try {
        IO::OutStream out(path, KString(PROJECT_TYPE), PROJECT_VERSION);
        GL::ViewCreator const* view = scene.viewCreator();
        GL::RenderObject const* render = scene.renderObject();
        out.beginBlock(1);
        IO::writeVec3d(&out, view->getRotation());
        IO::writeVec3d(&out, view->getTranslation());
        IO::writeVec3d(&out, view->getAxisScale());
        out.writeDouble(view->getScale());
        IO::writeVec3d(&out, render->getRotation());
        IO::writeVec3d(&out, render->getTranslation());
        IO::writeVec3d(&out, render->getAxisScale());
        out.writeDouble(render->getScale());
        out.writeUInt(static_cast<unsigned int>(render->getViewportWidth()));
        out.writeUInt(static_cast<unsigned int>(render->getViewportHeight()));
        out.endBlock();

        out.beginBlock(1);
        out.writeBool(scene.hasLegendData());
        IO::writeVec2d(&out, scene.legend()->getPosition());
        out.writeString(scene.legend()->getStreamData());
        out.endBlock();

        std::vector<CAD::Report*> const reports = scene.reports();
        Progress progress(Kav::translate("KavHost", "Saving the project"),
                          static_cast<long long>(scene.elements().size() + reports.size()));
        long long done = 0;
        // Each distinct access once, in the order the reports first hold them, and each
        // report's places as runs of consecutive ones. A report never lists a place twice (the
        // loader refuses that, so that runs cannot make room beyond what was stored): an
        // access a report holds twice is stored once more.
        // Each (first place, length), or with `changes` (position, length, first place).
        struct Listing {
            bool changes = false;
            std::vector<std::array<unsigned int, 3>> runs;
        };
        std::unordered_map<PropertyAccess::PropertyAccessBase const*, unsigned int> place;
        std::vector<PropertyAccess::PropertyAccessBase const*> distinct;
        std::vector<unsigned int> listedBy; // per place: the last report (from 1) that listed it
        // Per place: the place whose access the report before held where this one is first
        // held (what it is stored as changes to), and how many are stored so against it.
        constexpr unsigned int NO_BASE = static_cast<unsigned int>(-1);
        std::vector<unsigned int> baseOf, uses;
        std::vector<Listing> listings(reports.size());
        std::vector<unsigned int> entries(reports.size(), 0);
        CAD::Report::AccessList const none;
        CAD::Report::AccessList const* previous = &none;
        std::vector<unsigned int> previousPlaces;
        std::vector<unsigned int> listed, listedBefore; // the places of a report, and of the one before
        for (std::size_t ri = 0; ri < reports.size(); ++ri) {
            CAD::Report::AccessList const& list = reports[ri]->getCreationPropertyAccess();
            unsigned int const stamp = static_cast<unsigned int>(ri + 1);
            listed.clear();
            previousPlaces.resize(std::max(previousPlaces.size(), list.size()));
            for (std::size_t i = 0; i < list.size(); ++i) {
                PropertyAccess::PropertyAccessBase const* a = list[i];
                if (a == nullptr)
                    continue;
                // Mostly what the report before held at the same place: no lookup then.
                unsigned int at = 0;
                if (i < previous->size() && (*previous)[i] == a) {
                    at = previousPlaces[i];
                } else {
                    auto const found = place.emplace(a, static_cast<unsigned int>(distinct.size()));
                    if (found.second) {
                        unsigned int base = NO_BASE;
                        if (i < previous->size() && (*previous)[i] != nullptr) {
                            base = previousPlaces[i];
                            ++uses[base];
                        }
                        distinct.push_back(a);
                        listedBy.push_back(0);
                        baseOf.push_back(base);
                        uses.push_back(0);
                    }
                    at = found.first->second;
                }
                if (listedBy[at] == stamp) {
                    at = static_cast<unsigned int>(distinct.size());
                    distinct.push_back(a);
                    listedBy.push_back(0);
                    baseOf.push_back(NO_BASE);
                    uses.push_back(0);
                }
                listedBy[at] = stamp;
                previousPlaces[i] = at;
                listed.push_back(at);
            }
            entries[ri] = static_cast<unsigned int>(listed.size());
            Listing whole, changes;
            changes.changes = true;
            for (std::size_t k = 0; k < listed.size(); ++k) {
                auto& r = whole.runs;
                if (!r.empty() && r.back()[0] + r.back()[1] == listed[k])
                    ++r.back()[1];
                else
                    r.push_back({listed[k], 1, 0});
            }
            if (ri > 0 && listed.size() == listedBefore.size()) {
                for (std::size_t k = 0; k < listed.size(); ++k) {
                    auto& r = changes.runs;
                    if (listed[k] == listedBefore[k])
                        continue;
                    unsigned int const position = static_cast<unsigned int>(k);
                    if (!r.empty() && r.back()[0] + r.back()[1] == position && r.back()[2] + r.back()[1] == listed[k])
                        ++r.back()[1];
                    else
                        r.push_back({position, 1, listed[k]});
                }
            }
            bool const asChanges = ri > 0 && listed.size() == listedBefore.size() && 3 * changes.runs.size() < 2 * whole.runs.size();
            listings[ri] = std::move(asChanges ? changes : whole);
            listed.swap(listedBefore);
            previous = &list;
        }
        out.beginBlock(1);
        out.writeUInt(static_cast<unsigned int>(scene.elements().size()));
        out.writeUInt(static_cast<unsigned int>(reports.size()));
        out.writeUInt(static_cast<unsigned int>(distinct.size()));
        out.endBlock();

        for (CAD::Element* e : scene.elements()) {
            progress.advance(++done);
            Detail::ElementState::capture(*e).write(out);
        }
        FrameForms forms;
        for (std::size_t k = 0; k < distinct.size(); ++k) {
            unsigned int const index = static_cast<unsigned int>(k);
            writeFrame(out, *distinct[k], forms, index, uses[k], baseOf[k] == NO_BASE ? nullptr : &baseOf[k]);
        }
        for (std::size_t ri = 0; ri < reports.size(); ++ri) {
            CAD::Report* r = reports[ri];
            Listing const& listing = listings[ri];
            unsigned int const fields = listing.changes ? 3 : 2;
            progress.advance(++done);
            out.beginBlock(REPORT_VERSION);
            out.writeString(r->getName());
            out.writeString(r->getViewName());
            out.writeBool(r->dontUpdateSnapshot());
            out.writeUInt(entries[ri]);
            out.writeUInt(listing.changes ? 1 : 0);
            out.writeUInt(static_cast<unsigned int>(listing.runs.size()));
            for (auto const& run : listing.runs) {
                for (unsigned int f = 0; f < fields; ++f)
                    out.writeUInt(run[f]);
            }
            out.endBlock();
            out.beginBlock(1);
            out.writeString(KString(r->getPicture()));
            out.endBlock();
        }
        out.close();
    } catch (IO::StreamException const& e) {
        if (log != nullptr)
            *log << translate("Kav::MCADCmd", "cannot save the project \"%1\": %2").arg(path, e.getText()) << END_LOG;
        return false;
    }
    return true;
}

bool loadProject(Scene& scene, QString const& path, ErrorLog* log)
{
    // Everything is read into these first; the scene changes only when the whole file is good.
    BaVec3d<double> rot, trans, axis, rRot, rTrans, rAxis;
    double scale = 1.0, rScale = 1.0;
    unsigned int width = 0, height = 0;
    bool hasView = true, hasLegendSettings = true;
    bool hasLegend = true;
    BaVec2d<double> legendPos;
    KString legendData;
    std::vector<std::unique_ptr<CAD::Element>> elements; // in scene order, their parents set
    // The elements by name, as the scene takes them: each name is hashed once.
    QHash<QString, CAD::Element*> byName;
    std::vector<LoadedReport> reports;
    // What the reports' lists point to; let go when the load ends (the reports hold their own).
    HeldAccesses held;
    ErrorLog skipped(false);
    // Reading is most of the work; putting it into the scene is the last part.
    std::unique_ptr<Progress> progress;
    try {
        IO::InStream in(path);
        if (in.getType() != KString(PROJECT_TYPE))
            bad(in, translate("Kav::MCADCmd", "not a project file (stream type \"%1\")").arg(in.getType().toQString()));
        unsigned int const version = in.getVersion();
        if (version != PROJECT_VERSION && version != PROJECT_VERSION_WHOLE_FRAMES && version != PROJECT_VERSION_FRAMES_PER_REPORT)
            bad(in, translate("Kav::MCADCmd", "project version %1 is not supported").arg(in.getVersion()));

        in.openBlock();
        if (in.getBlockVersion() != 1)
            bad(in, translate("Kav::MCADCmd", "view block of version %1").arg(in.getBlockVersion()));
        IO::readVec3d(&in, &rot);
        IO::readVec3d(&in, &trans);
        IO::readVec3d(&in, &axis);
        scale = in.readDouble();
        IO::readVec3d(&in, &rRot);
        IO::readVec3d(&in, &rTrans);
        IO::readVec3d(&in, &rAxis);
        rScale = in.readDouble();
        width = in.readUInt();
        height = in.readUInt();
        in.closeBlock();
        hasView = Limits::ANGLE.contains(rot) && Limits::COORDINATE.contains(trans) &&
                  Limits::AXIS_SCALE.contains(axis) && Limits::SCALE.contains(scale) && Limits::ANGLE.contains(rRot) &&
                  Limits::COORDINATE.contains(rTrans) && Limits::AXIS_SCALE.contains(rAxis) &&
                  Limits::SCALE.contains(rScale) && width > 0 && height > 0 && width <= 100000 && height <= 100000;
        if (!hasView)
            skipped << translate("Kav::MCADCmd", "the view's settings are out of range, skipped") << END_LOG;

        in.openBlock();
        if (in.getBlockVersion() != 1)
            bad(in, translate("Kav::MCADCmd", "legend block of version %1").arg(in.getBlockVersion()));
        hasLegend = in.readBool();
        IO::readVec2d(&in, &legendPos);
        legendData = in.readString();
        in.closeBlock();
        hasLegendSettings = Limits::OVERLAY.contains(legendPos) && GLegend2::GlobalLegend().setStreamData(legendData);
        if (!hasLegendSettings)
            skipped << translate("Kav::MCADCmd", "the legend's settings are malformed or out of range, skipped") << END_LOG;

        in.openBlock();
        unsigned int const elementCount = in.readUInt();
        unsigned int const reportCount = in.readUInt();
        bool const storedOnce = version != PROJECT_VERSION_FRAMES_PER_REPORT;
        unsigned int const accessCount = storedOnce ? in.readUInt() : 0;
        in.closeBlock();
        progress = std::make_unique<Progress>(Kav::translate("KavHost", "Loading the project"),
                                              static_cast<long long>(elementCount) + reportCount);
        long long done = 0;

        QSet<QString> reportNames;
        // Room for the names the file can hold: every element takes more than this.
        constexpr qint64 MIN_RECORD_BYTES = 64;
        byName.reserve(static_cast<int>(std::min<qint64>(static_cast<qint64>(elementCount),
                                                        QFileInfo(path).size() / MIN_RECORD_BYTES + 1)));
        for (unsigned int i = 0; i < elementCount; ++i) {
            progress->advance(++done);
            Detail::ElementState const r = Detail::ElementState::read(in, skipped);
            // One hash operation: a name already there leaves the size as it was.
            auto const known = byName.size();
            CAD::Element*& slot = byName[r.name];
            if (byName.size() == known)
                bad(in, translate("Kav::MCADCmd", "the element name \"%1\" occurs twice").arg(r.name));
            // A parent found (not itself) came before.
            CAD::Element* const parent = r.parent.isEmpty() || r.parent == r.name ? nullptr : byName.value(r.parent, nullptr);
            if (!r.parent.isEmpty() && parent == nullptr)
                bad(in, translate("Kav::MCADCmd", "element \"%1\": its parent \"%2\" does not come before it").arg(r.name, r.parent));
            elements.push_back(r.create(StageIdentifier()));
            elements.back()->setParent(parent);
            slot = elements.back().get();
        }
        // Every distinct access once, read before the reports that refer to them.
        std::unordered_map<unsigned int, Skipped> skippedAccesses;
        // Frames of changes make at most this many times the file's bytes: far more than
        // the snapshots of one scene take, far less than memory.
        constexpr quint64 MAX_MADE_PER_FILE_BYTE = 64;
        FrameForms forms(MAX_MADE_PER_FILE_BYTE * static_cast<quint64>(std::max<qint64>(QFileInfo(path).size(), 0)));
        for (unsigned int k = 0; k < accessCount; ++k) {
            Skipped why;
            PropertyAccess::PropertyAccessBase* a = readFrame(in, QStringLiteral("access ") + QString::number(k + 1), &why, &forms, k);
            if (a == nullptr)
                skippedAccesses.emplace(k, std::move(why));
            held.add(a);
        }
        std::vector<unsigned int> listBefore; // the stored places of the report before
        std::vector<unsigned int> listedBy(held.size(), 0); // per place: the last report (from 1) listing it
        for (unsigned int i = 0; i < reportCount; ++i) {
            progress->advance(++done);
            in.openBlock();
            unsigned int const blockVersion = in.getBlockVersion();
            bool const listsChanges = version == PROJECT_VERSION && blockVersion == REPORT_VERSION;
            bool const withPicture = listsChanges || (version == PROJECT_VERSION_WHOLE_FRAMES && blockVersion == REPORT_BLOCK_WITH_PICTURE);
            if (!withPicture && blockVersion != (version == PROJECT_VERSION_WHOLE_FRAMES ? 2u : version == PROJECT_VERSION_FRAMES_PER_REPORT ? 1u : 0u))
                bad(in, translate("Kav::MCADCmd", "report block of version %1").arg(in.getBlockVersion()));
            QString name, viewName;
            in.readString(&name);
            in.readString(&viewName);
            bool const dontUpdate = in.readBool();
            unsigned int const count = in.readUInt();
            if (name.isEmpty() || byName.contains(name) || reportNames.contains(name))
                bad(in, translate("Kav::MCADCmd", "a report without a name, or with a name taken (\"%1\")").arg(name));
            reportNames.insert(name);
            LoadedReport lr;
            lr.report = std::make_unique<CAD::Report>(name);
            lr.report->setViewName(viewName);
            lr.report->setDontUpdateSnapshot(dontUpdate);
            if (storedOnce) {
                // A report holds at most as many accesses as are stored (each read from the
                // file), and its runs must add up to that count: so the runs never make room
                // beyond what was read.
                if (count > held.size())
                    bad(in, translate("Kav::MCADCmd", "report \"%1\" holds %2 accesses of %3 stored").arg(name).arg(count).arg(held.size()));
                auto beyond = [&](bool past) {
                    if (past)
                        bad(in, translate("Kav::MCADCmd", "report \"%1\" refers to accesses beyond the %2 stored").arg(name).arg(held.size()));
                };
                bool const changes = listsChanges && in.readUInt() != 0;
                unsigned int const runs = in.readUInt();
                std::vector<unsigned int> list;
                if (changes) {
                    if (count != listBefore.size())
                        bad(in, translate("Kav::MCADCmd", "report \"%1\" changes a list of %2 accesses, the report before holds %3")
                                    .arg(name).arg(count).arg(listBefore.size()));
                    list = listBefore;
                    for (unsigned int run = 0; run < runs; ++run) {
                        unsigned int const position = in.readUInt();
                        unsigned int const length = in.readUInt();
                        unsigned int const first = in.readUInt();
                        beyond(first >= held.size() || length > held.size() - first);
                        if (position > count || length > count - position)
                            bad(in, translate("Kav::MCADCmd", "report \"%1\" changes places beyond its %2").arg(name).arg(count));
                        for (unsigned int k = 0; k < length; ++k)
                            list[position + k] = first + k;
                    }
                } else {
                    list.reserve(count);
                    for (unsigned int run = 0; run < runs; ++run) {
                        unsigned int const first = in.readUInt();
                        unsigned int const length = in.readUInt();
                        beyond(first >= held.size() || length > held.size() - first || length > count - list.size());
                        for (unsigned int index = first; index < first + length; ++index)
                            list.push_back(index);
                    }
                    if (list.size() != count)
                        bad(in, translate("Kav::MCADCmd", "report \"%1\" lists %2 of its %3 accesses").arg(name).arg(list.size()).arg(count));
                }
                in.closeBlock();
                lr.accesses.reserve(count);
                for (unsigned int k = 0; k < count; ++k) {
                    unsigned int const index = list[k];
                    if (listedBy[index] == i + 1)
                        bad(in, translate("Kav::MCADCmd", "report \"%1\" lists access %2 twice").arg(name).arg(index + 1));
                    listedBy[index] = i + 1;
                    if (PropertyAccess::PropertyAccessBase* a = held.at(index))
                        lr.accesses.push_back(a);
                    else
                        skipped << skippedText(name, k, skippedAccesses[index]) << END_LOG;
                }
                listBefore.swap(list);
                if (withPicture)
                    lr.report->setPicture(readPicture(in, name, skipped));
            } else {
                in.closeBlock();
                for (unsigned int k = 0; k < count; ++k) {
                    Skipped why;
                    PropertyAccess::PropertyAccessBase* a =
                        readFrame(in, name + QStringLiteral(" access ") + QString::number(k + 1), &why);
                    held.add(a);
                    if (a != nullptr)
                        lr.accesses.push_back(a);
                    else
                        skipped << skippedText(name, k, why) << END_LOG;
                }
            }
            reports.push_back(std::move(lr));
        }
        if (!in.atEnd())
            bad(in, translate("Kav::MCADCmd", "unexpected data after the last report"));
    } catch (IO::StreamException const& e) {
        if (log != nullptr)
            *log << translate("Kav::MCADCmd", "cannot load the project \"%1\": %2").arg(path, e.getText()) << END_LOG;
        return false;
    }

    Scene::Batch batch(scene);
    scene.clear();
    std::vector<LabelElement*> labels;
    for (auto const& e : elements) {
        if (LabelElement* l = e->getLabel())
            labels.push_back(l);
    }
    scene.adoptElements(std::move(elements), std::move(byName));
    for (LoadedReport& lr : reports) {
        // One more holder each; `held` lets go of the load's own when it goes.
        CAD::SharedAccesses::instance().hold(lr.accesses.data(), lr.accesses.size());
        lr.report->setHeldCreationPropertyAccess(std::move(lr.accesses));
        scene.addReport(std::move(lr.report));
    }
    GL::RenderObject* render = scene.renderObject();
    if (hasView) {
        GL::ViewCreator* view = scene.viewCreator();
        view->setRotation(rot);
        view->setTranslation(trans);
        view->setAxisScale(axis);
        view->setScale(scale);
        view->setMainViewDirectionFromTransformation();
        render->setRotation(rRot);
        render->setTranslation(rTrans);
        render->setAxisScale(rAxis);
        render->setScale(rScale);
        render->setViewportSize(static_cast<int>(width), static_cast<int>(height));
    }
    // Label texts hold values measured from the geometry: made again, not stored.
    Transformation const t = render->get3d2dTransformation();
    for (LabelElement* l : labels) {
        l->updateFigureElements(StageIdentifier(), 0, t, 0.0);
        l->getLabelFigText()->updateForStage(StageIdentifier(), 0, 0);
    }
    if (hasLegendSettings) {
        scene.legend()->setStreamData(legendData);
        scene.legend()->setPosition(legendPos);
    }
    scene.setHasLegendData(hasLegend);
    if (log != nullptr) {
        for (QString const& entry : skipped.getEntries())
            *log << entry << END_LOG;
    }
    scene.notifyChanged();
    return true;
}

} // namespace MCADCmd
} // namespace Kav
