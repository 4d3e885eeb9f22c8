// check_layers ROOT RULES: lists every #include under ROOT that reaches a folder the including file's folder
// may not include by RULES (see tests/layers/layers.txt), as file:line with the rule it breaks. Exits 1 when
// there is one, 2 when the rules or the tree cannot be read.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rules {
    std::vector<std::string> searchFolders;
    std::map<std::string, std::set<std::string>> mayInclude;  // folder -> folders it may include
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<Rules> ReadRules(const fs::path& file, std::ostream& errors) {
    std::ifstream in(file);
    if (!in) {
        errors << file.string() << ": cannot be read\n";
        return std::nullopt;
    }
    Rules rules;
    std::vector<std::pair<int, std::string>> named;  // every folder named on the right, to check it has a rule
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        if (words[0] == "search") {
            rules.searchFolders.insert(rules.searchFolders.end(), words.begin() + 1, words.end());
            continue;
        }
        const auto colon = line.find(':');
        const std::vector<std::string> folder = Words(line.substr(0, colon));
        if (colon == std::string::npos || folder.size() != 1) {
            errors << file.string() << ":" << lineNumber << ": expected \"folder: folders it may include\"\n";
            return std::nullopt;
        }
        if (!rules.mayInclude.emplace(folder[0], std::set<std::string>{}).second) {
            errors << file.string() << ":" << lineNumber << ": a second rule for " << folder[0] << "\n";
            return std::nullopt;
        }
        for (const std::string& allowed : Words(line.substr(colon + 1))) {
            rules.mayInclude[folder[0]].insert(allowed);
            named.emplace_back(lineNumber, allowed);
        }
    }
    // A misspelt folder on the right would silently allow nothing, or hide what it was meant to allow.
    for (const auto& [where, folder] : named) {
        if (!rules.mayInclude.contains(folder)) {
            errors << file.string() << ":" << where << ": " << folder << " has no rule of its own\n";
            return std::nullopt;
        }
    }
    return rules;
}

// The longest folder with a rule that holds the path ("" when none does).
std::string RuleFolder(const Rules& rules, const std::string& path) {
    std::string best;
    for (const auto& [folder, allowed] : rules.mayInclude) {
        const bool holds =
            path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
        if (holds && folder.size() > best.size()) best = folder;
    }
    return best;
}

// Where the compiler finds an included name: next to the including file (quoted names only), from the top,
// then in the search folders. Empty for names outside the tree (system, Qt, generated files).
std::optional<std::string> Resolve(const fs::path& root, const Rules& rules, const std::string& includingFile,
                                   const std::string& name, bool quoted) {
    std::vector<fs::path> candidates;
    if (quoted) candidates.push_back(fs::path(includingFile).parent_path() / name);
    candidates.push_back(name);
    for (const std::string& folder : rules.searchFolders) candidates.push_back(fs::path(folder) / name);
    for (const fs::path& candidate : candidates) {
        const fs::path relative = candidate.lexically_normal();
        std::error_code error;
        if (!relative.empty() && *relative.begin() != ".." && fs::is_regular_file(root / relative, error)) {
            return relative.generic_string();
        }
    }
    return std::nullopt;
}

bool IsSourceFile(const fs::path& path) {
    static const std::set<std::string> kExtensions = {".h", ".hpp", ".cpp", ".cc"};
    return kExtensions.contains(path.extension().string());
}

// The C++ files under the top folders the rules name, relative to root, in a stable order.
std::vector<std::string> SourceFiles(const fs::path& root, const Rules& rules) {
    std::set<std::string> tops;
    for (const auto& [folder, allowed] : rules.mayInclude) tops.insert(folder.substr(0, folder.find('/')));
    std::vector<std::string> files;
    for (const std::string& top : tops) {
        std::error_code error;
        if (!fs::is_directory(root / top, error)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            if (entry.is_regular_file() && IsSourceFile(entry.path())) {
                files.push_back(entry.path().lexically_relative(root).generic_string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Joined(const std::set<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text.empty() ? "(nothing)" : text;
}

// Reports each breach to out and returns how many there were.
int CheckFile(const fs::path& root, const Rules& rules, const std::string& file, std::ostream& out) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    const std::string folder = RuleFolder(rules, file);
    if (folder.empty()) {
        out << file << ": no rule covers its folder\n";
        return 1;
    }
    const std::set<std::string>& allowed = rules.mayInclude.at(folder);
    std::ifstream in(root / file);
    int breaches = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::smatch match;
        if (!std::regex_search(line, match, kInclude)) continue;
        const std::optional<std::string> target = Resolve(root, rules, file, match[2], match[1] == "\"");
        if (!target) continue;
        const std::string targetFolder = RuleFolder(rules, *target);
        if (targetFolder == folder || allowed.contains(targetFolder)) continue;
        out << file << ":" << lineNumber << ": includes " << *target << " ("
            << (targetFolder.empty() ? "no rule" : targetFolder) << "), but " << folder
            << " may include only: " << Joined(allowed) << "\n";
        ++breaches;
    }
    return breaches;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: check_layers ROOT RULES\n";
        return 2;
    }
    const fs::path root = argv[1];
    const std::optional<Rules> rules = ReadRules(argv[2], std::cerr);
    if (!rules) return 2;
    int breaches = 0;
    std::size_t files = 0;
    for (const std::string& file : SourceFiles(root, *rules)) {
        breaches += CheckFile(root, *rules, file, std::cout);
        ++files;
    }
    if (files == 0) {
        std::cerr << root.string() << ": no C++ files under the folders the rules name\n";
        return 2;
    }
    std::cout << files << " files checked, " << breaches << " include(s) against the layers\n";
    return breaches == 0 ? 0 : 1;
}
