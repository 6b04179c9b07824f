// vantelo_udev_rule LIST RULE: writes the udev rule for the VID:PID pairs of
// LIST (an adapters.conf file) to RULE. Used by the build.

#include <fstream>
#include <iostream>
#include <sstream>

#include "usbline/AdapterIds.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vantelo_udev_rule LIST RULE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "vantelo_udev_rule: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> problems;
    const auto ids = usbline::ParseAdapterIds(text.str(), argv[1], &problems);
    for (const auto& p : problems) std::cerr << "vantelo_udev_rule: " << p << '\n';
    if (!problems.empty())
        return 1;
    std::ofstream out(argv[2], std::ios::trunc);
    out << usbline::UdevRuleText(ids);
    return out.good() ? 0 : 1;
}
