// Writes small, valid inputs for every fuzz target into <dir>/<target>/: the starting
// points from which the fuzzers mutate. The golden access streams of tests/data are added
// by scripts/fuzz.sh.
#include "mvp_fuzz_common.h"

#include "cad/kav_element.h"
#include "core/kav_error_log.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "io/kav_stream.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template_container.h"
#include "restore/mvp_cmd_restore_from_template.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <limits>
#include <sstream>

using namespace Kav;
using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;
using PropertyAccess::PropAccTemplatePart;

namespace {

QString outDir;

void putFile(char const* target, QString const& name, QByteArray const& bytes)
{
    QDir().mkpath(QDir(outDir).filePath(QString::fromLatin1(target)));
    QFile f(QDir(outDir).filePath(QString::fromLatin1(target) + QLatin1Char('/') + name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        MvpFuzz::violated("cannot write a seed", f.fileName());
}

// A stream with a checksum also goes in the frame written before it ("KAVB", no checksum):
// a mutation of the checked one is refused whole, the unchecked one reaches the readers.
void put(char const* target, QString const& name, QByteArray const& bytes)
{
    putFile(target, name, bytes);
    if (bytes.startsWith("KAV2") && bytes.size() >= 8)
        putFile(target, name + QStringLiteral("_unchecked"), QByteArray("KAVB") + bytes.mid(4, bytes.size() - 8));
}

QByteArray fileBytes(QString const& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        MvpFuzz::violated("cannot read", path);
    return f.readAll();
}

PropAccTemplateContainer templates()
{
    using namespace PropertyAccess;
    PropAccTemplateContainer c;
    PropAccTemplate view(QStringLiteral("View only"));
    view.set(PropAccTemplatePart(PROP_ACC_3D_VIEW));
    c.add(view);
    PropAccTemplate elements(QStringLiteral("Elements \"quoted\" \xc3\xa4"));
    elements.setNewInvisibleFlag(true);
    PropAccTemplatePart part(PROP_ACC_CAD_ELEMENT);
    part.setUsage(PROP_LABEL_VISIBILITY, false);
    part.setUsage(static_cast<PropTemplateID_t>(1000), true); // an id of another library
    elements.set(part);
    elements.set(PropAccTemplatePart(PROP_ACC_LEGEND));
    c.add(elements);
    c.add(PropAccTemplate(QString()));
    return c;
}

void accessSeeds(MCADCmd::HostSession& session)
{
    // One element of each kind the generated scene has, with labels and pull-outs among them.
    MCADCmd::AccessList const accesses = session.printInterface().extractPropertyAccess();
    int n = 0;
    for (PropertyAccess::PropertyAccessBase* a : accesses) {
        if (n < 16) {
            QByteArray bytes;
            IO::OutStream out(&bytes, KString("MVP_FUZZ"), 1);
            a->saveStream(&out);
            out.close();
            put("access_stream", QStringLiteral("extracted_%1").arg(n++, 2, 10, QLatin1Char('0')), bytes);
        }
        delete a;
    }
}

void storeSeeds()
{
    QByteArray bytes;
    IO::OutStream out(&bytes, KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
    templates().saveStream(&out);
    out.close();
    put("template_store", QStringLiteral("three_templates"), bytes);
    QByteArray empty;
    IO::OutStream none(&empty, KString("RESTORE_SNAPSHOT_TEMPLATE"), 1);
    PropAccTemplateContainer().saveStream(&none);
    none.close();
    put("template_store", QStringLiteral("empty"), empty);

    std::ostringstream json;
    json << templates();
    put("exchange_file", QStringLiteral("three_templates.json"), QByteArray::fromStdString(json.str()));
    put("exchange_file", QStringLiteral("empty.json"),
        QByteArrayLiteral("{\"format\": \"kav-restore-templates\", \"version\": 1, \"templates\": []}"));
    // Escaped keys and a name full of JSON's own marks: the search for keys given twice must
    // read them as the JSON reader does; one mutation away from a key given twice.
    put("exchange_file", QStringLiteral("escaped_keys.json"),
        QByteArrayLiteral("{\"format\": \"kav-restore-templates\", \"version\": 1, \"templates\": [{\"name\": "
                          "\"a \\\"{[,:\\\" b\", \"parts\": [{\"type\": 3, \"usage\": {\"\\u0035\": true, \"6\": false}}]}]}"));
}

void parameterSeeds()
{
    int n = 0;
    for (QString const& name : GApp::CommandContainer::getCommandNames()) {
        QString const params = GApp::CommandContainer::getCommand(name)->createParameterString();
        if (!params.isEmpty())
            put("parameters", QStringLiteral("command_%1").arg(n++, 2, 10, QLatin1Char('0')), params.toUtf8());
    }
    PropAccTemplate const t = templates().getTemplate(1);
    MCADVisProp::RestoreSnapshotTemplateCommand* byTemplate = dynamic_cast<MCADVisProp::RestoreSnapshotTemplateCommand*>(
        GApp::CommandContainer::getCommand(QStringLiteral("report.restore_by_template")));
    if (byTemplate == nullptr)
        MvpFuzz::violated("report.restore_by_template is not registered");
    put("parameters", QStringLiteral("template"),
        byTemplate->createTemplateParameterString(QStringLiteral("Snapshot 1"), t).toUtf8());
    put("parameters", QStringLiteral("mixed"),
        QByteArrayLiteral("k=\"a\\\"b\\\\c\\n\\t\" name=\"x\" list=[\"1\", \"2\",\"3\"] g={ name=\"n\" k=[] "
                          "inner={k=\"1e308\"}}k={}"));
    put("parameters", QStringLiteral("numbers"), QByteArrayLiteral("k=\"-inf\" u=\"4294967295\" d=\"0.1\""));
}

// A snapshot's picture as the application makes them, only smaller.
QByteArray smallPicture()
{
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(0x336699u);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        MvpFuzz::violated("cannot make a seed picture");
    return png;
}

void projectSeeds(MCADCmd::HostSession& session)
{
    ErrorLog log(false);
    QString const path = MvpFuzz::scratchPath(QStringLiteral("seed.kavproj"));
    MvpFuzz::resetScene(12);
    if (!MCADCmd::saveProject(session.scene(), path, &log))
        MvpFuzz::violated("cannot save a seed project", log.getLog());
    put("project", QStringLiteral("generated_12"), fileBytes(path));
    // Three snapshots that hold most accesses in common: each stored once, the changed ones
    // as changes to the one before, reports as runs or as changes to the list before.
    for (char const* name : {"Snapshot 2", "Snapshot 3"}) {
        session.scene().elements().at(3)->getElemProperties()->color ^= 0x00FF00u;
        auto report = std::make_unique<CAD::Report>(QString::fromLatin1(name));
        report->setViewName(MCADCmd::HostSession::mainViewName());
        report->setCreationPropertyAccess(session.printInterface().extractPropertyAccess());
        // One with a picture, one without: both kinds of picture block.
        if (report->getName() == QLatin1String("Snapshot 2"))
            report->setPicture(smallPicture());
        session.scene().addReport(std::move(report));
    }
    if (!MCADCmd::saveProject(session.scene(), path, &log))
        MvpFuzz::violated("cannot save a seed project", log.getLog());
    put("project", QStringLiteral("generated_12_shared"), fileBytes(path));
    if (!MCADCmd::loadSampleScene(session.scene(), QString(), &log))
        MvpFuzz::violated("no sample scene", log.getLog());
    if (!MCADCmd::saveProject(session.scene(), path, &log))
        MvpFuzz::violated("cannot save a seed project", log.getLog());
    put("project", QStringLiteral("sample"), fileBytes(path));

    // A value no command takes, written by hand: the load must skip it and keep the rest.
    CAD::Element* width = session.scene().findElement(QStringLiteral("Width"));
    if (width == nullptr || width->getDistPullOut() == nullptr)
        MvpFuzz::violated("the sample scene has no pull-out on \"Width\"");
    double const marker = 0.125;
    width->getDistPullOut()->setPullOutPoint(BaVec3d<double>(marker, -55.0, 10.0));
    if (!MCADCmd::saveProject(session.scene(), path, &log))
        MvpFuzz::violated("cannot save a seed project", log.getLog());
    QByteArray bytes = fileBytes(path);
    double const inf = std::numeric_limits<double>::infinity();
    QByteArray const from(reinterpret_cast<char const*>(&marker), sizeof marker);
    int const at = static_cast<int>(bytes.indexOf(from));
    if (at < 0 || !bytes.startsWith("KAV2"))
        MvpFuzz::violated("the seed project does not hold the marker");
    bytes.replace(at, static_cast<int>(sizeof inf), reinterpret_cast<char const*>(&inf), static_cast<int>(sizeof inf));
    putFile("project", QStringLiteral("not_finite_unchecked"), QByteArray("KAVB") + bytes.mid(4, bytes.size() - 8));
}

void scriptSeeds()
{
    put("script", QStringLiteral("restore"),
        QByteArrayLiteral("# change, restore, undo and redo\n"
                          "select names=[\"E000001\", \"E000002\"]\n"
                          "report.create_snapshot name=\"Mine\"\n"
                          "view.set rotation=[\"10\", \"20\", \"30\"] scale=\"2.5\"\n"
                          "legend.set range=[\"-0.5\", \"0.5\"] steps=\"5\" visible=\"0\"\n"
                          "element.set name=\"E000005\" color=\"#c0392b\" transparency=\"0.35\" visible=\"0\"\n"
                          "element.set name=\"E000004\" pullout=[\"30\", \"25\", \"10\"]\n"
                          "element.add name=\"New\" type=\"point\" parent=\"E000001\"\n"
                          "report.restore_whole_snapshot snapshot=\"Snapshot 1\"\n"
                          "edit.undo\n"
                          "edit.redo\n"
                          "element.remove name=\"E000003\"\n"
                          "edit.undo\n"));
    PropAccTemplate const t = templates().getTemplate(1);
    put("script", QStringLiteral("template"),
        (QStringLiteral("element.set name=\"E000002\" label_visible=\"0\" label_template=\"%name%\"\n"
                        "report.restore_by_template snapshot=\"Snapshot 1\" ") +
         t.createParameterString(QStringLiteral("template")) + QStringLiteral("\nedit.undo\nedit.undo\n"))
            .toUtf8());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    MCADCmd::HostSession& session = MvpFuzz::setUp();
    outDir = QString::fromLocal8Bit(argv[1]);
    MvpFuzz::resetScene(14);
    accessSeeds(session);
    storeSeeds();
    parameterSeeds();
    projectSeeds(session);
    scriptSeeds();
    return 0;
}
