#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "handheld/home.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"

namespace orvanectl {

namespace {
std::vector<const OrvaneCommand*>& Registry() {
    static std::vector<const OrvaneCommand*> commands;
    return commands;
}
}  // namespace

OrvaneCommand::OrvaneCommand(std::string_view commandName, std::string_view commandUsage, CommandFunction function)
    : name(commandName), usage(commandUsage), run(function) {
    Registry().push_back(this);
}

const std::vector<const OrvaneCommand*>& RegisteredCommands() {
    return Registry();
}

bool HasFlag(std::vector<std::string>& args, std::string_view flag) {
    const auto it = std::find(args.begin(), args.end(), flag);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

bool TakeOption(std::vector<std::string>& args, std::string_view name, std::string& value) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == name && it + 1 != args.end()) {
            value = *(it + 1);
            args.erase(it, it + 2);
            return true;
        }
        if (it->size() > name.size() && it->compare(0, name.size(), name) == 0 && (*it)[name.size()] == '=') {
            value = it->substr(name.size() + 1);
            args.erase(it);
            return true;
        }
    }
    return false;
}

int UsageError(std::string_view usage) {
    std::fprintf(stderr, "usage: orvanectl %.*s\n", static_cast<int>(usage.size()), usage.data());
    return 2;
}

bool ReadFileArgument(const std::string& argument, std::vector<std::uint8_t>& bytes) {
    std::filesystem::path hostPath = argument;
    if (!argument.empty() && argument.front() == '\\') {
        const auto resolved = handheld::HostPath(handheld::FromUtf8(argument));
        if (!resolved) return false;
        hostPath = *resolved;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(hostPath, ec)) return false;
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace orvanectl

int main(int argc, char** argv) {
    const auto home = handheld::TakeHandheldOption(argc, argv);
    std::string reason;
    if (!handheld::OpenHome(home, &reason)) {
        std::fprintf(stderr, "orvanectl: cannot use the handheld at %s: %s\n", home.c_str(), reason.c_str());
        return 1;
    }
    auto commands = orvanectl::RegisteredCommands();
    std::sort(commands.begin(), commands.end(), [](auto* a, auto* b) { return a->name < b->name; });
    if (argc >= 2) {
        const std::string group = argv[1];
        for (const auto* command : commands) {
            if (command->name == group) return command->run(std::vector<std::string>(argv + 2, argv + argc));
        }
        std::fprintf(stderr, "orvanectl: unknown command '%s'\n", group.c_str());
    }
    std::fprintf(stderr, "usage: orvanectl [--handheld DIR] COMMAND ...\n");
    for (const auto* command : commands) {
        std::fprintf(stderr, "  orvanectl %.*s\n", static_cast<int>(command->usage.size()), command->usage.data());
    }
    return 2;
}
