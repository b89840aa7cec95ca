#include "platform/paths.h"
#include "resource_path.h"
#include "test_support.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string current_dir() {
    char buffer[8192];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

// Changes into a folder for the length of a test and always changes back.
class cWorkingDirGuard {
public:
    cWorkingDirGuard() : m_saved(current_dir()) {}
    ~cWorkingDirGuard() { restore(); }
    void enter(const std::string& dir) { ASSERT_EQ(0, chdir(dir.c_str())) << dir; }
    void restore() { EXPECT_EQ(0, chdir(m_saved.c_str())); }

private:
    std::string m_saved;
};

// Collects what is written to std::cerr while it lives.
class cCerrCapture {
public:
    cCerrCapture() : m_old(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~cCerrCapture() { std::cerr.rdbuf(m_old); }
    std::string text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf* m_old;
};

std::string test_name() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string canonical(const std::string& path) {
    int error = -1;
    std::string result = platform::canonical_path(path, error);
    EXPECT_EQ(0, error) << path;
    return result;
}

} // namespace

TEST(PlatformPath, CanonicalFormIsLexical) {
    // Each input followed by its canonical form. On this system a backslash is
    // part of a name, not a separator.
    const char* const cases[] = {
        "",         ".",    ".",         ".",    "./",      ".",      "./a",          "a",
        "a/./b",    "a/b",  "a//b",      "a/b",  "a/b//",   "a/b",    "a/..",         ".",
        "a/../b",   "b",    "a/../../b", "../b", "../d/m/", "../d/m", "../../x/../y", "../../y",
        "/",        "/",    "//",        "/",    "/..",     "/",      "/../a",        "/a",
        "//a//b//", "/a/b", "/a/../c/.", "/c",   "a\\b",    "a\\b"};
    for (std::size_t i = 0; i < std::size(cases); i += 2)
        EXPECT_EQ(cases[i + 1], canonical(cases[i])) << "input \"" << cases[i] << "\"";
}

TEST(PlatformPath, OnlyReadableRegularFilesCount) {
    std::string dir = make_temp_dir("pp_readable");
    EXPECT_TRUE(platform::is_readable_file(write_temp_file("pp_readable/file.txt", "x")));
    EXPECT_FALSE(platform::is_readable_file(dir));
    EXPECT_FALSE(platform::is_readable_file(dir + "/missing.txt"));
    EXPECT_FALSE(platform::is_readable_file("/dev/null")); // a device, not a file
}

TEST(PlatformPath, AbsolutePathJoinsWorkingDirectory) {
    std::string dir = make_temp_dir("pp_absolute");
    cWorkingDirGuard guard;
    guard.enter(dir);
    std::string cwd = current_dir();
    int error = -1;
    EXPECT_EQ(cwd.substr(0, cwd.rfind('/')) + "/data/f.txt",
              platform::absolute_path("./x/../../data/f.txt", error));
    EXPECT_EQ(0, error);
}

// Each test runs in <scratch>/<test>/run with assets under <scratch>/<test>/data,
// the layout the program runs in, and leaves no search list behind.
class ResourcePath : public ::testing::Test {
protected:
    void SetUp() override {
        cResourcePath::destroy();
        m_root = make_temp_dir(test_name());
        make_temp_dir(test_name() + "/run");
        make_temp_dir(test_name() + "/data");
        make_temp_dir(test_name() + "/data/models");
        make_temp_dir(test_name() + "/data/textures");
        m_guard.enter(m_root + "/run");
    }
    void TearDown() override { cResourcePath::destroy(); }

    // A file under the test's folder, with the folders it needs.
    void write_asset(const std::string& relative) {
        for (std::size_t at = relative.find('/'); at != std::string::npos;
             at = relative.find('/', at + 1))
            make_temp_dir(test_name() + "/" + relative.substr(0, at));
        write_temp_file(test_name() + "/" + relative, "x");
    }

    cResourcePath* paths() { return cResourcePath::instance(); }

    std::string m_root;
    cWorkingDirGuard m_guard;
};

TEST_F(ResourcePath, PushedDirectoriesAreCanonicalAndAnOverlongOneIsReportedAndFindsNothing) {
    write_asset("data/models/floor.bzobj");
    const std::string too_long(5000, 'a');
    cCerrCapture err;
    for (const char* dir : {"../data//models/", "", "/", too_long.c_str()})
        paths()->push_searchpath(dir);
    EXPECT_EQ(paths()->searchpaths(),
              (std::vector<std::string>{"../data/models/", "./", "/", too_long + "/"}));
    EXPECT_EQ("fatal - oops in cResourcePath::push_searchpath on path \"" + too_long +
                  "\": " + platform::error_text(ENAMETOOLONG) + "\n",
              err.text());
    // The entry is kept but leads nowhere; the others still count.
    EXPECT_EQ("../data/models/floor.bzobj", paths()->get_fullpath("floor.bzobj"));
}

TEST_F(ResourcePath, NameAsGivenWinsElseDirectoriesAreSearchedInOrderByLastComponent) {
    write_asset("data/models/floor.bzobj");
    write_asset("data/textures/floor.bzobj");
    write_asset("data/textures/sky.png");
    make_temp_dir(test_name() + "/data/models/sky.png"); // a folder, not the image
    paths()->push_searchpath("../data/models");
    paths()->push_searchpath("../data/textures/");

    cCerrCapture err;
    const std::pair<const char*, const char*> cases[] = {
        {"floor.bzobj", "../data/models/floor.bzobj"},
        {"sub/dir/floor.bzobj", "../data/models/floor.bzobj"},
        {"sky.png", "../data/textures/sky.png"},
        {"C:\\art\\sky.png", "../data/textures/sky.png"},
        {"missing.png", ""},
        {"models/", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, paths()->get_fullpath(c.first)) << c.first;
    EXPECT_EQ("", err.text()); // misses are the caller's to report

    // A file of that name as given wins, with its absolute path; a folder does not.
    write_asset("data/models/lamp.png");
    write_asset("run/lamp.png");
    make_temp_dir(test_name() + "/run/sky.png");
    EXPECT_EQ(current_dir() + "/lamp.png", paths()->get_fullpath("lamp.png"));
    EXPECT_EQ("../data/textures/sky.png", paths()->get_fullpath("sky.png"));
}

TEST_F(ResourcePath, AssetsComeFromTheFirstStartDirectoryThatHoldsThemAndRelativeNamesFollowIt) {
    const std::vector<std::string> probes = {"../data/music/a.mp3", "../src/shaders/b.vert"};
    const std::string elsewhere = m_root + "/installed/data"; // one level below its tree
    write_asset("data/music/a.mp3"); // the working directory's tree lacks the shaders at first
    for (const char* file : {"data/music/a.mp3", "src/shaders/b.vert", "data/models/floor.bzobj"})
        write_asset(std::string("installed/") + file);
    std::string error;
    EXPECT_FALSE(paths()->choose_start_directory({"", m_root + "/none/bin"}, probes, &error));
    EXPECT_EQ("the assets (data/music/a.mp3, src/shaders/b.vert) are in none of these folders: " +
                  m_root + ", " + m_root + "/none",
              error);
    EXPECT_EQ("", paths()->start_directory());

    ASSERT_TRUE(paths()->choose_start_directory({"", elsewhere}, probes, &error));
    EXPECT_EQ(elsewhere, paths()->start_directory());
    paths()->push_searchpath("../data/models");
    EXPECT_EQ(m_root + "/installed/data/models/floor.bzobj", paths()->get_fullpath("floor.bzobj"));
    EXPECT_EQ(m_root + "/installed/data/music/a.mp3", paths()->get_fullpath(probes[0]));
    EXPECT_EQ("/abs/x", paths()->located("/abs/x"));

    // Where the working directory holds them, nothing changes.
    write_asset("src/shaders/b.vert");
    paths()->set_start_directory("");
    ASSERT_TRUE(paths()->choose_start_directory({"", elsewhere}, probes, &error));
    EXPECT_EQ("", paths()->start_directory());
    EXPECT_EQ("../data/music/a.mp3", paths()->located(probes[0]));
}
