#include "kav_demo.h"

#include "kav_app_commands.h"
#include "kav_host_app.h"
#include "kav_host_window.h"
#include "kav_script_runner.h"

#include "cad/kav_element.h"
#include "cad/kav_element_creator.h"
#include "glabel/kav_label_element.h"
#include "mcadcmd/kav_host_session.h"
#include "mcadcmd/scene/kav_scene.h"
#include "parse/kav_parse.h"
#include "propertyaccess/kav_prop_acc_template.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace Kav {
namespace App {

namespace {

void say(QString const& text)
{
    QByteArray const bytes = text.toUtf8();
    std::fprintf(stdout, "%s\n", bytes.constData());
    std::fflush(stdout);
}

QString str(char const* key, QString const& value)
{
    return Parse::createString(QString::fromLatin1(key), value);
}

// "View only": the view's four properties, nothing of the legend or the elements.
PropertyAccess::PropAccTemplate viewOnlyTemplate()
{
    using namespace PropertyAccess;
    PropAccTemplate t(QStringLiteral("View only"));
    PropAccTemplatePart view(static_cast<PropAccessType_t>(0));
    for (int id : {0, 1, 2, 3})
        view.setUsage(static_cast<PropTemplateID_t>(id), true);
    PropAccTemplatePart legend(static_cast<PropAccessType_t>(1));
    legend.setUsage(static_cast<PropTemplateID_t>(4), false);
    PropAccTemplatePart container(static_cast<PropAccessType_t>(2));
    container.setUsage(static_cast<PropTemplateID_t>(6), false);
    PropAccTemplatePart element(static_cast<PropAccessType_t>(3));
    for (int id : {5, 6, 7, 8, 9, 35})
        element.setUsage(static_cast<PropTemplateID_t>(id), false);
    for (auto const& part : {view, legend, container, element})
        t.set(part);
    return t;
}

} // namespace

Demo::Demo(HostApplication* app, ScriptRunner* runner) : app_(app), runner_(runner) {}

QString Demo::digest(QString const& state)
{
    return QString::fromLatin1(QCryptographicHash::hash(state.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

QString Demo::state() const
{
    return MCADCmd::dumpState(app_->session().scene());
}

bool Demo::step(QString const& title, QStringList const& commands)
{
    say(QString());
    say(QStringLiteral("== ") + title);
    for (QString const& command : commands) {
        say(QStringLiteral("> ") + command);
        if (!runner_->runLine(command, ++line_)) {
            ++failures_;
            return false;
        }
    }
    QCoreApplication::processEvents();
    say(QStringLiteral("state digest ") + digest(state()));
    return true;
}

QImage Demo::picture(QString const& name)
{
    QCoreApplication::processEvents();
    QImage const image = app_->window()->grab().toImage();
    if (!shotBase_.isEmpty()) {
        QString const path = shotBase_ + QLatin1Char('-') + name + QStringLiteral(".png");
        if (image.save(path, "PNG"))
            say(QStringLiteral("screenshot ") + path);
        else
            check(QStringLiteral("screenshot %1 written").arg(path), false);
    }
    return image;
}

bool Demo::check(QString const& what, bool ok)
{
    say(QStringLiteral("check: ") + what + (ok ? QStringLiteral(": yes") : QStringLiteral(": NO")));
    if (!ok)
        ++failures_;
    return ok;
}

int Demo::run(QString const& screenshot)
{
    if (!screenshot.isEmpty()) {
        QFileInfo const info(screenshot);
        QDir().mkpath(info.absolutePath());
        shotBase_ = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    }
    MCADCmd::Scene& scene = app_->session().scene();
    QString const snapshot = QStringLiteral("Demo snapshot");

    if (!step(QStringLiteral("1. the sample scene"), {QStringLiteral("host.sample_scene")}))
        return 1;
    // The parts of the sample the demo changes, found by their kind.
    QString part;
    QString other;
    QString labelled;
    QString pulled;
    for (CAD::Element* e : scene.elements()) {
        unsigned int const type = e->getElementType();
        if (type == CAD::ElementCreator::PART && part.isEmpty())
            part = e->getName();
        else if (other.isEmpty() && e->getLabel() == nullptr && e->isVisible(CAD::VISIBLE_OWN)
                 && (type == CAD::ElementCreator::PLANE || type == CAD::ElementCreator::POINT))
            other = e->getName();
        if (labelled.isEmpty() && e->getLabel() != nullptr && e->getName() != part)
            labelled = e->getName();
        if (pulled.isEmpty() && e->getDistPullOut() != nullptr)
            pulled = e->getName();
    }
    if (!check(QStringLiteral("the sample scene has parts to change"), !part.isEmpty()))
        return 1;

    if (!step(QStringLiteral("2. a snapshot of the scene"),
              {QStringLiteral("select ") + Parse::createStringVector(QStringLiteral("names"), {part}),
               QStringLiteral("report.create_snapshot ") + str("name", snapshot)}))
        return 1;
    QString const stateAtSnapshot = state();
    BaVec3d<double> const rotationAtSnapshot = scene.viewCreator()->getRotation();
    QImage const before = picture(QStringLiteral("1-before"));

    // Relative to the sample's own view, so the scene stays in the picture.
    auto viewChange = [&scene](BaVec3d<double> const& turn, double zoom) {
        BaVec3d<double> const r = scene.viewCreator()->getRotation() + turn;
        return QStringLiteral("view.set ") + Parse::createStringVector(QStringLiteral("rotation"), vectorText(r))
               + QLatin1Char(' ')
               + Parse::createString(QStringLiteral("scale"), numberText(scene.viewCreator()->getScale() * zoom));
    };
    QStringList changes = {
        viewChange(BaVec3d<double>(-25.0, 20.0, -30.0), 0.8),
        QStringLiteral("element.set ") + str("name", part) + QStringLiteral(" color=\"#c0392b\" transparency=\"0.35\""),
        QStringLiteral("legend.set range=[\"-0.5\", \"0.5\"] steps=\"5\"")};
    if (!other.isEmpty())
        changes << QStringLiteral("element.set ") + str("name", other) + QStringLiteral(" visible=\"0\"");
    if (!labelled.isEmpty())
        changes << QStringLiteral("element.set ") + str("name", labelled)
                       + QStringLiteral(" label_template=\"%name% (changed)\" label_auto=\"1\"");
    if (!pulled.isEmpty())
        changes << QStringLiteral("element.set ") + str("name", pulled) + QStringLiteral(" pullout=[\"30\", \"25\", \"10\"]");
    if (!step(QStringLiteral("3. change the view and the elements"), changes))
        return 1;
    check(QStringLiteral("the state changed"), state() != stateAtSnapshot);
    picture(QStringLiteral("2-changed"));

    if (!step(QStringLiteral("4. restore the whole snapshot"),
              {QStringLiteral("report.restore_whole_snapshot ") + str("snapshot", snapshot)}))
        return 1;
    QString const restored = state();
    check(QStringLiteral("the state after the restore equals the state of the snapshot"), restored == stateAtSnapshot);
    QImage const after = picture(QStringLiteral("3-restored"));
    check(QStringLiteral("the restored picture is pixel-identical to the one before the change"), after == before);

    if (!step(QStringLiteral("5. change the view and a colour again"),
              {viewChange(BaVec3d<double>(40.0, 0.0, 20.0), 1.15),
               QStringLiteral("element.set ") + str("name", part) + QStringLiteral(" color=\"#2e86c1\"")}))
        return 1;
    QString const beforeTemplate = state();
    quint32 const changedColor = scene.findElement(part)->getElemProperties()->color;

    if (!step(QStringLiteral("6. restore with the template \"View only\""),
              {QStringLiteral("report.restore_by_template ") + str("snapshot", snapshot) + QLatin1Char(' ')
                   + viewOnlyTemplate().createParameterString(QStringLiteral("template"))}))
        return 1;
    QString const afterTemplate = state();
    check(QStringLiteral("the view is the snapshot's again"), scene.viewCreator()->getRotation() == rotationAtSnapshot);
    check(QStringLiteral("the element keeps its new colour"),
          scene.findElement(part)->getElemProperties()->color == changedColor);
    picture(QStringLiteral("4-template"));

    if (!step(QStringLiteral("7. undo the restore"), {QStringLiteral("edit.undo")}))
        return 1;
    check(QStringLiteral("undo gives the state before the restore"), state() == beforeTemplate);
    if (!step(QStringLiteral("8. redo it"), {QStringLiteral("edit.redo")}))
        return 1;
    check(QStringLiteral("redo gives the restored state again"), state() == afterTemplate);

    say(QString());
    say(failures_ == 0 ? QStringLiteral("demo finished: every check held")
                       : QStringLiteral("demo finished: %1 checks failed").arg(failures_));
    return failures_ == 0 ? 0 : 1;
}

} // namespace App
} // namespace Kav
