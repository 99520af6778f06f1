// Parameter strings: every registered command's parseParameterString, and the readers of
// Kav::Parse with the promises their header makes (a failed read leaves the string as it
// was, a successful one leaves a valid string behind, created values read back).
#include "mvp_fuzz_common.h"

#include "core/kav_error_log.h"
#include "core/kav_errors.h"
#include "gapp/kav_command.h"
#include "gapp/kav_command_container.h"
#include "parse/kav_parse.h"

#include <cmath>
#include <cstring>
#include <functional>

namespace {

using Kav::ParamError;
using Parse = Kav::Parse;

// Runs one reader on a copy of `params` and checks what it leaves behind.
void read(QString const& params, std::function<void(QString&)> const& reader)
{
    QString rest = params;
    try {
        reader(rest);
    } catch (ParamError const&) {
        if (rest != params)
            MvpFuzz::violated("a failed read changed the parameter string", params);
        return;
    }
    try {
        Parse::hasKey(rest, QStringLiteral("k"));
    } catch (ParamError const& e) {
        MvpFuzz::violated("a successful read left a broken parameter string", rest + QLatin1Char('\n') + e.getText());
    }
}

void roundTrips(QString const& text, QByteArray const& raw)
{
    QString const k = QStringLiteral("k");
    QString s = Parse::createString(k, text) + QStringLiteral(" rest=\"1\"");
    if (Parse::getString(s, k) != text || s != QStringLiteral("rest=\"1\""))
        MvpFuzz::violated("createString does not read back", text);
    QStringList const list = text.split(QLatin1Char(','));
    QString v = Parse::createStringVector(k, list);
    if (Parse::getStringVector(v, k, 0, 0xFFFFFFFFu) != list)
        MvpFuzz::violated("createStringVector does not read back", text);
    bool valid = true;
    try {
        Parse::hasKey(text, k);
    } catch (ParamError const&) {
        valid = false;
    }
    if (valid) {
        QString g = Parse::createGroup(k, text);
        if (Parse::getGroup(g, k) != text)
            MvpFuzz::violated("createGroup does not read back", text);
    }
    if (raw.size() >= 8) {
        double d;
        std::memcpy(&d, raw.constData(), sizeof d);
        QString n = Parse::createDouble(k, d);
        double const back = Parse::getDouble(n, k);
        if (!(back == d || (std::isnan(back) && std::isnan(d))))
            MvpFuzz::violated("createDouble does not read back", Parse::createDouble(k, d));
        unsigned int u;
        std::memcpy(&u, raw.constData(), sizeof u);
        QString un = Parse::createUInt(k, u);
        if (Parse::getUInt(un, k) != u)
            MvpFuzz::violated("createUInt does not read back", un);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size)
{
    MvpFuzz::setUp();
    QString const params = MvpFuzz::text(data, size);

    for (QString const& name : Kav::GApp::CommandContainer::getCommandNames()) {
        Kav::GApp::Command* command = Kav::GApp::CommandContainer::getCommand(name);
        QString errorId;
        Kav::ErrorLog log(false);
        // Only ParamError is the readers' to throw, and the command turns it into an error id.
        if (!command->parseParameterString(params, false, &errorId, &log) && errorId.isEmpty())
            MvpFuzz::violated("a command refused parameters without an error id", name + QLatin1Char(' ') + params);
    }

    QString const k = QStringLiteral("k");
    read(params, [&](QString& p) { Parse::getString(p, k); });
    read(params, [&](QString& p) { Parse::getFile(p, k); });
    read(params, [&](QString& p) { Parse::getGroup(p, k); });
    read(params, [&](QString& p) { Parse::getStringVector(p, k, 1, 3); });
    read(params, [&](QString& p) { Parse::getBool(p, k); });
    read(params, [&](QString& p) { Parse::getUInt(p, k); });
    read(params, [&](QString& p) { Parse::getDouble(p, k); });
    // A group's content is a parameter string of its own.
    QString rest = params;
    try {
        QString const inner = Parse::getGroup(rest, k);
        read(inner, [&](QString& p) { Parse::getString(p, QStringLiteral("name")); });
    } catch (ParamError const&) {
    }
    try {
        Parse::checkEmptyParameters(params);
    } catch (ParamError const&) {
    }
    roundTrips(params, MvpFuzz::bytes(data, size));
    return 0;
}

// The application comes up before the first input, outside the per-input time limit.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MvpFuzz::setUp();
    return 0;
}
