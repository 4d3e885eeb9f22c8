// orvanectl lng show FILE [--json]: the entries of a language file as the program reads them, in file order,
// so that a translator sees what a line really yields (cut at "/", trailing blanks gone, later duplicates
// ignored only at lookup). FILE is a host path, or a handheld path when it starts with a backslash.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shell/language_table.h"
#include "handheld/home.h"
#include "handheld/text.h"
#include "tools/orvanectl/command.h"
#include "tools/orvanectl/json.h"

namespace orvanectl {
namespace {

constexpr std::string_view kUsage = "lng show FILE [--json]";

int RunLng(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool json = HasFlag(args, "--json");
    if (args.size() != 2 || args[0] != "show") return UsageError(kUsage);
    const std::string& file = args[1];

    std::vector<std::uint8_t> bytes;
    if (!ReadFileArgument(file, bytes)) {
        std::fprintf(stderr, "orvanectl: cannot read %s\n", file.c_str());
        return 1;
    }
    LanguageTable table;
    table.LoadLanguageBytes(bytes.data(), bytes.size());
    const bool marked = LanguageTable::HasLanguageMark(bytes.data(), bytes.size());
    if (!marked) {
        std::fprintf(stderr,
                     "orvanectl: %s does not start with the UTF-16LE byte-order mark: the program reads no "
                     "entries from it\n",
                     file.c_str());
    }

    if (json) {
        JsonWriter out;
        out.BeginObject().Key("entries").BeginArray();
        for (std::size_t i = 0; i < table.Count(); ++i) {
            out.BeginObject().Field("key", table.Keys()[i]).Field("value", table.Values()[i]).EndObject();
        }
        out.EndArray().EndObject();
        std::printf("%s\n", out.Text().c_str());
    } else {
        for (std::size_t i = 0; i < table.Count(); ++i) {
            std::printf("%s\t%s\n", handheld::ToUtf8(table.Keys()[i]).c_str(),
                        handheld::ToUtf8(table.Values()[i]).c_str());
        }
    }
    return marked ? 0 : 1;
}

const OrvaneCommand kLngCommand("lng", kUsage, RunLng);

}  // namespace
}  // namespace orvanectl
