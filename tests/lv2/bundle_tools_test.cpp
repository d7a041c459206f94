// The bundle as the LV2 tools read it: lv2_validate finds no fault against
// the vocabularies Debian installs, and lv2info lists the 44 parameters as
// control inputs with the instrument's own names, domains, menus and switches,
// program 1's values as defaults, a MIDI input that takes the tempo, and
// two audio outputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "engine/Choices.h"
#include "plugin/FactoryBank.h"
#include "plugin/ParameterReading.h"
#include "plugin/ParameterText.h"

namespace {

std::string run(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int s = pclose(pipe);
    if (status) *status = s;
    return out;
}

// lv2info's text of each port, by index.
std::map<int, std::string> portsOf(const std::string& info) {
    std::map<int, std::string> ports;
    std::size_t at = info.find("\tPort ");
    while (at != std::string::npos) {
        const int index = std::atoi(info.c_str() + at + 6);
        const std::size_t next = info.find("\tPort ", at + 1);
        ports[index] = info.substr(at, next == std::string::npos ? std::string::npos : next - at);
        at = next;
    }
    return ports;
}

double field(const std::string& port, const std::string& name) {
    const std::size_t at = port.find(name + ":");
    return at == std::string::npos ? std::nan("") : std::atof(port.c_str() + at + name.size() + 1);
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Lv2Bundle, Lv2ValidateFindsNoFault) {
    int status = -1;
    const std::string out = run(std::string("lv2_validate ") + ORV_LV2_BUNDLE + "/*.ttl", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(has(out, "Found 0 errors")) << out;
    EXPECT_FALSE(has(out, "warning")) << out;
}

TEST(Lv2Bundle, Lv2infoListsThePortsAsTheInstrumentHasThem) {
    // The bundle and the installed vocabularies, as a fresh machine has them.
    const std::string bundleParent = std::string(ORV_LV2_BUNDLE) + "/..:/usr/lib/lv2";
    const std::string info = run("LV2_PATH=" + bundleParent + " lv2info https://orvane.example/plugins/ambrell");
    EXPECT_TRUE(has(info, "Class:             Instrument Plugin")) << info;
    EXPECT_TRUE(has(info, "http://lv2plug.in/ns/ext/state#interface"));
    const std::map<int, std::string> ports = portsOf(info);
    ASSERT_EQ(ports.size(), 47u) << info;

    const ProgramRecord& first = factoryBank()[0];
    for (int i = 0; i < param::kCount; ++i) {
        SCOPED_TRACE("port " + std::to_string(i));
        const std::string& port = ports.at(i);
        EXPECT_TRUE(has(port, "#ControlPort") && has(port, "#InputPort"));
        EXPECT_TRUE(has(port, std::string("Name:        ") + parameter_text::name(i) + "\n")) << "named as in the other formats";
        const parameter_text::Domain d = parameter_text::domain(i);
        EXPECT_EQ(field(port, "Minimum"), d.lo);
        EXPECT_EQ(field(port, "Maximum"), d.hi);
        EXPECT_NEAR(field(port, "Default"), first.values[i], 1e-6);  // lv2info prints six decimals
        EXPECT_EQ(has(port, "#integer"), d.whole);
        const choice::Menu menu = choice::menuFor(i);
        EXPECT_EQ(has(port, "#enumeration"), menu.count > 0);
        for (int k = 0; k < menu.count; ++k)
            EXPECT_TRUE(has(port, std::to_string(k) + " = \"" + menu.texts[k] + "\"")) << port;
        EXPECT_EQ(has(port, "#toggled"), i == param::kLearnAllPrograms || i == param::kControllerLearn);
    }
    EXPECT_TRUE(has(ports.at(44), "#AtomPort") && has(ports.at(44), "#InputPort"));
    for (int i : {45, 46}) EXPECT_TRUE(has(ports.at(i), "#AudioPort") && has(ports.at(i), "#OutputPort"));
}

}  // namespace
