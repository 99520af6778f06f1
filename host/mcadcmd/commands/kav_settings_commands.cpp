// The host's commands changing settings: the view, the legend, an element.
#include "mcadcmd/commands/kav_host_command_p.h"


namespace Kav {
namespace MCADCmd {
namespace HostCommands {
namespace {

// view.set, legend.set and element.set: the settings are checked when applied, so a bad
// value is reported with the parameter error and changes nothing.
class SettingsCommand : public HostCommand {
public:
    using HostCommand::HostCommand;

protected:
    bool applySettings(Scene& scene, QString const& step, CAD::Element* element,
                       std::function<void(QString&)> const& apply, QString* errorId, ErrorLog* log)
    {
        QString rest = settings_;
        try {
            recordChange(scene, step, element, [&]() {
                apply(rest);
                checkRest(given_, rest);
            });
        } catch (ParamError const& e) {
            return paramFail(errorId, log, e.getText() + QStringLiteral("\n\n") + errorString(given_));
        }
        return true;
    }
    void read(QString& params) override
    {
        given_ = params;
        readKeys(params);
        settings_ = params;
        // The settings are taken as a whole; their syntax is checked here.
        Parse::hasKey(settings_, QStringLiteral("x"));
        params.clear();
    }
    virtual void readKeys(QString&) {}

    QString given_;    // as written, for the positions in messages
    QString settings_; // what readKeys left
};

class ViewSetCommand : public SettingsCommand {
public:
    ViewSetCommand() : SettingsCommand("view.set", QT_TRANSLATE_NOOP("Kav::MCADCmd", "change view"),
                 "[rotation=[\"X\", \"Y\", \"Z\"]] [translation=[\"X\", \"Y\", \"Z\"]] [axis_scale=[\"X\", \"Y\", \"Z\"]] [scale=\"S\"]") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (!applySettings(*scene, getMenuName(), nullptr, [scene](QString& p) { Detail::applyViewSettings(*scene, p); },
                           errorId, log))
            return false;
        if (result != nullptr)
            result->clear();
        return true;
    }
};

class LegendSetCommand : public SettingsCommand {
public:
    LegendSetCommand() : SettingsCommand("legend.set", QT_TRANSLATE_NOOP("Kav::MCADCmd", "change legend"),
                 "[range=[\"MIN\", \"MAX\"]] [steps=\"N\"] [visible=\"0|1\"] [position=[\"X\", \"Y\"]] [map=\"NAME\"] [data=\"0|1\"]") {}
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        if (!applySettings(*scene, getMenuName(), nullptr,
                           [scene](QString& p) { Detail::applyLegendSettings(*scene, p); }, errorId, log))
            return false;
        if (result != nullptr)
            result->clear();
        return true;
    }
};

class ElementSetCommand : public SettingsCommand {
public:
    ElementSetCommand() : SettingsCommand("element.set", QT_TRANSLATE_NOOP("Kav::MCADCmd", "change element"),
                 "name=\"ELEMENT\" [visible=\"0|1\"] [color=\"#rrggbb\"] [transparency=\"0..1\"] [display_mode=\"MODE\"] [point_size=\"N\"] [line_width=\"N\"] [pullout=[\"X\", \"Y\", \"Z\"]] [first_kink=\"0|1\"] [label_visible=\"0|1\"] [label_auto=\"0|1\"] [label_template=\"TEXT\"] [label_offset=[\"X\", \"Y\"]] [label_position=[\"X\", \"Y\"]] [label_origin=[\"X\", \"Y\", \"Z\"]] [label_font=\"N\"] [label_frame=\"0|1\"] [label_connector=\"0|1\"] [sampling=\"auto|STEP\"] [valid=\"0|1\"] [center=[\"X\", \"Y\", \"Z\"]] [extent=[\"X\", \"Y\", \"Z\"]] [radius=\"R\"]") {}
    QString createParameterString() override
    {
        return Parse::createString(QStringLiteral("name"), QStringLiteral("ELEMENT")) +
               Parse::createBool(QStringLiteral("visible"), true);
    }
    bool execute(QString* result, QString* errorId, ErrorLog* log) override
    {
        Scene* scene = activeScene();
        if (scene == nullptr)
            return false;
        CAD::Element* element = scene->findElement(name_);
        if (element == nullptr)
            return fail(errorId, ERROR_UNKNOWN_ELEMENT, log, say(QT_TRANSLATE_NOOP("Kav::MCADCmd", "no element \"%1\"")).arg(name_));
        if (!applySettings(*scene, getMenuName(), element,
                           [scene, element](QString& p) { Detail::applyElementSettings(*scene, element, p); }, errorId,
                           log))
            return false;
        if (result != nullptr)
            *result = Parse::createString(QStringLiteral("name"), name_);
        return true;
    }

protected:
    void readKeys(QString& params) override { name_ = Parse::getString(params, QStringLiteral("name")); }

private:
    QString name_;
};

} // namespace

GApp::Command* newViewSetCommand()
{
    return new ViewSetCommand;
}

GApp::Command* newLegendSetCommand()
{
    return new LegendSetCommand;
}

GApp::Command* newElementSetCommand()
{
    return new ElementSetCommand;
}

} // namespace HostCommands
} // namespace MCADCmd
} // namespace Kav
