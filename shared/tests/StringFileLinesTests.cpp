// Every line the program's code reads from a numbered string file is shipped
// and not empty: a missing line shows as a blank message box or status text,
// or as an empty registry path. The sources are scanned for the getters'
// calls (the program's Get…Text, the dialogs library's Get…String and its
// pages' MessageBoxLine) and for the title lines of the settings pages'
// table, so a new read without its line fails here.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "shared/StringLineCache.h"

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::string> kGetterFiles = {
    {"Message", "message.dat"}, {"Url", "url.dat"},     {"Reg", "reg.dat"},
    {"Etc", "etc.dat"},         {"Dlg", "dlg.dat"},     {"First", "first.dat"},
    {"IEHistory", "iehistory.dat"}, {"Fav", "fav.dat"},
};

// The program's own sources: no tests, no build trees.
std::map<std::string, std::string> ReadSources()
{
    std::map<std::string, std::string> sources;
    const fs::path root(VA_SOURCE_DIR);
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory()) {
            if (name == "tests" || name == "build" || name[0] == '.' || name == "res")
                it.disable_recursion_pending();
            continue;
        }
        const std::string ext = it->path().extension().string();
        if (ext != ".cpp" && ext != ".h")
            continue;
        std::ifstream in(it->path());
        std::stringstream text;
        text << in.rdbuf();
        sources[fs::relative(it->path(), root).string()] = text.str();
    }
    return sources;
}

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The integer constants the sources define ("const int kName = 12;").
std::map<std::string, int> ReadConstants(const std::map<std::string, std::string>& sources)
{
    std::map<std::string, int> constants;
    const std::string prefix = "const int k";
    for (const auto& source : sources) {
        const std::string& text = source.second;
        for (size_t at = text.find(prefix); at != std::string::npos;
             at = text.find(prefix, at + 1)) {
            const size_t nameStart = at + prefix.size() - 1;  // at the "k"
            size_t nameEnd = nameStart + 1;
            while (nameEnd < text.size() && IsWordChar(text[nameEnd]))
                ++nameEnd;
            const std::string name = text.substr(nameStart, nameEnd - nameStart);
            std::istringstream rest(text.substr(nameEnd, 32));
            char equals = 0;
            int value = 0;
            if (rest >> equals >> value && equals == '=')
                constants[name] = value;
        }
    }
    return constants;
}

// The line numbers of one getter call's argument: a number, a named
// constant, or the number branches of a conditional. Other arguments (the
// getters' own parameters) give none.
std::set<int> LinesOf(const std::string& argument, const std::map<std::string, int>& constants)
{
    std::set<int> lines;
    std::string trimmed = argument;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    if (!trimmed.empty() && std::isdigit(static_cast<unsigned char>(trimmed[0]))) {
        lines.insert(std::stoi(trimmed));
    } else if (constants.count(trimmed)) {
        lines.insert(constants.at(trimmed));
    } else {
        for (size_t at = trimmed.find_first_of("?:"); at != std::string::npos;
             at = trimmed.find_first_of("?:", at + 1)) {
            std::istringstream branch(trimmed.substr(at + 1));
            int line = 0;
            if (branch >> line)
                lines.insert(line);
        }
    }
    return lines;
}

// Each call of a getter (its name without "Get") in a text: the file it
// reads and its argument.
void FindCallsOf(const std::string& text, const std::string& name, const std::string& file,
                 std::vector<std::pair<std::string, std::string>>& calls)
{
    const std::string call = name + "(";
    for (size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
        if (at > 0 && IsWordChar(text[at - 1]))
            continue;
        const size_t open = at + call.size();
        const size_t close = text.find_first_of("()", open);
        if (close != std::string::npos && text[close] == ')')
            calls.emplace_back(file, text.substr(open, close - open));
    }
}

std::vector<std::pair<std::string, std::string>> FindCalls(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> calls;
    for (const auto& getter : kGetterFiles) {
        FindCallsOf(text, "Get" + getter.first + "Text", getter.second, calls);
        FindCallsOf(text, "Get" + getter.first + "String", getter.second, calls);
    }
    FindCallsOf(text, "MessageBoxLine", "message.dat", calls);
    return calls;
}

// The title lines ("etc.dat") of the settings pages' table: its rows are
// { class, template, title line, ... }.
std::set<int> PageTitleLines(const std::string& text)
{
    std::set<int> lines;
    const std::regex row(R"(\{\s*(nullptr|RUNTIME_CLASS\(\w+\))\s*,\s*\d+\s*,\s*(\d+))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row); it != std::sregex_iterator(); ++it)
        lines.insert(std::stoi((*it)[2].str()));
    return lines;
}

} // namespace

TEST(StringFileLines, EveryLineTheCodeReadsIsShippedAndNotEmpty)
{
    const auto sources = ReadSources();
    const auto constants = ReadConstants(sources);
    std::map<std::string, std::set<int>> reads;  // file name -> line numbers
    std::map<std::string, std::string> where;
    for (const auto& source : sources) {
        for (const auto& call : FindCalls(source.second)) {
            for (int line : LinesOf(call.second, constants)) {
                reads[call.first].insert(line);
                where[call.first + ":" + std::to_string(line)] = source.first;
            }
        }
    }
    for (int line : PageTitleLines(sources.at("dialogs/pages/SettingsPages.cpp"))) {
        reads["etc.dat"].insert(line);
        where["etc.dat:" + std::to_string(line)] = "the settings pages' table";
    }
    // The scan sees the reads it must see.
    ASSERT_TRUE(reads["etc.dat"].count(29));  // the group-tab list's title
    ASSERT_TRUE(reads["etc.dat"].count(80));  // the last page's title
    ASSERT_TRUE(reads["etc.dat"].count(28));  // GetEtcString
    ASSERT_TRUE(reads["message.dat"].count(28));
    ASSERT_TRUE(reads["message.dat"].count(10) && reads["message.dat"].count(12));
    ASSERT_TRUE(reads["etc.dat"].count(74));  // through a named constant
    ASSERT_TRUE(reads["fav.dat"].count(5));

    const std::string stringFolder = std::string(VA_SOURCE_DIR) + "/res/String/";
    CStringLineCache cache;
    for (const auto& file : reads) {
        const std::string path = stringFolder + file.first;
        for (int line : file.second) {
            const std::string key = file.first + ":" + std::to_string(line);
            EXPECT_FALSE(cache.LoadStringLine(path.c_str(), file.first.c_str(), line).IsEmpty())
                << key << " is read by " << where[key];
        }
    }
}
