// The folders of src/ include one another in one direction only: no two folders include each
// other, directly or through a third. And the unit tests trace their cases with CASE_TRACE
// (case_trace.h says why). Read from the source tree itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Graph = std::map<std::string, std::set<std::string>>;   // folder -> folders it includes

// A path of includes from `from` to `to` ("a -> b -> c"), or "" when there is none.
std::string IncludePath(const Graph& graph, const std::string& from, const std::string& to,
                        std::set<std::string>& seen) {
    if (!seen.insert(from).second) return "";
    auto found = graph.find(from);
    if (found == graph.end()) return "";
    for (const std::string& next : found->second) {
        if (next == to) return from + " -> " + to;
        std::string rest = IncludePath(graph, next, to, seen);
        if (!rest.empty()) return from + " -> " + rest;
    }
    return "";
}

// Every way round: "a -> b -> a" for each folder that includes one that leads back to it.
std::vector<std::string> Cycles(const Graph& graph) {
    std::vector<std::string> cycles;
    for (const auto& [folder, includes] : graph)
        for (const std::string& other : includes) {
            std::set<std::string> seen;
            std::string back = IncludePath(graph, other, folder, seen);
            if (!back.empty()) cycles.push_back(folder + " -> " + back);
        }
    return cycles;
}

// The folders of `src` and which others their files include ("#include "monitor/...").
Graph ReadIncludes(const fs::path& src) {
    Graph graph;
    for (const auto& entry : fs::directory_iterator(src))
        if (entry.is_directory()) graph[entry.path().filename().string()];
    for (auto& [folder, includes] : graph) {
        for (const auto& file : fs::recursive_directory_iterator(src / folder)) {
            if (!file.is_regular_file()) continue;
            std::ifstream in(file.path());
            std::string line;
            while (std::getline(in, line)) {
                const auto start = line.find_first_not_of(" \t");
                if (start == std::string::npos || line.compare(start, 10, "#include \"") != 0) continue;
                const std::string target = line.substr(start + 10);
                const auto slash = target.find('/');
                if (slash == std::string::npos) continue;   // resource_ids.h, version.h
                const std::string other = target.substr(0, slash);
                if (other != folder && graph.count(other)) includes.insert(other);
            }
        }
    }
    return graph;
}

TEST(SourceLayout, NoTwoFoldersIncludeEachOtherDirectlyOrThroughAThird) {
    const fs::path src = TARVESK_SOURCE_DIR;
    std::error_code error;
    if (!fs::is_directory(src, error)) {
#ifdef _WIN32
        GTEST_SKIP() << "the source tree " << src.string() << " is not reachable from here; the native build checks it";
#else
        FAIL() << "no source tree at " << src.string();
#endif
    }
    const Graph graph = ReadIncludes(src);
    ASSERT_GE(graph.size(), 6u) << "src/ has fewer folders than it should";
    ASSERT_TRUE(graph.at("mainwindow").count("forms"));   // the reading sees real includes
    for (const std::string& cycle : Cycles(graph)) ADD_FAILURE() << cycle;
}

TEST(SourceLayout, UnitTestsTraceTheirCasesWithoutGoogleTestsPerThreadTrace) {
    const fs::path tests = fs::path(TARVESK_SOURCE_DIR).parent_path() / "tests" / "unit";
    std::error_code error;
    if (!fs::is_directory(tests, error)) {
#ifdef _WIN32
        GTEST_SKIP() << "the source tree is not reachable from here; the native build checks it";
#else
        FAIL() << "no unit tests at " << tests.string();
#endif
    }
    const std::string macro = std::string("SCOPED") + "_TRACE(";
    int files = 0;
    for (const auto& file : fs::recursive_directory_iterator(tests)) {
        if (file.path().extension() != ".cpp") continue;
        ++files;
        std::ifstream in(file.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            if (line.find(macro) != std::string::npos)
                ADD_FAILURE() << file.path().filename().string() << ":" << number << " uses "
                              << macro << "; use CASE_TRACE(";
    }
    EXPECT_GE(files, 10);
}

TEST(SourceLayout, TheCheckFindsCyclesThroughAThirdFolder) {
    EXPECT_TRUE(Cycles({{"a", {"b"}}, {"b", {"c"}}, {"c", {}}}).empty());
    EXPECT_EQ(Cycles({{"a", {"b"}}, {"b", {"a"}}}).size(), 2u);
    const auto through = Cycles({{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}, {"d", {"a"}}});
    ASSERT_EQ(through.size(), 3u);
    EXPECT_EQ(through[0], "a -> b -> c -> a");
}

}  // namespace
