// cfindfile on fixture trees under Wine. Wine lists a folder's names sorted
// ignoring case, so the names below are chosen to make the intended order visible.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "files/cfindfile.h"
#include "test_support.h"

namespace fk {
namespace {

using Paths = std::vector<std::string>;

// A listener that records what it hears and can act inside each event.
struct Recorder : cfindfileEvents {
    int begins = 0;
    std::vector<int32_t> ends;
    Paths found;
    std::function<void()> onBegin, onEnd;
    std::function<void(std::string&, bool&)> onFound;

    void BeginFindFiles() override {
        ++begins;
        if (onBegin) onBegin();
    }
    void EndFindFiles(int32_t& count) override {
        ends.push_back(count);
        if (onEnd) onEnd();
    }
    void FoundFile(std::string& name, bool& cancel) override {
        found.push_back(name);
        if (onFound) onFound(name, cancel);
    }
};

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = dir / "baum\\";
        for (const char* folder : {"baum", "baum\\Versteckt", "baum\\sub1", "baum\\sub1\\deep",
                                   "baum\\sub2", "baum\\.punkt"}) {
            test::makeFolder(dir / folder);
        }
        SetFileAttributesA((dir / "baum\\Versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        for (const char* file : {"baum\\a.txt", "baum\\b.dat", "baum\\Versteckt\\h.txt",
                                 "baum\\sub1\\z.txt", "baum\\sub1\\deep\\d.txt",
                                 "baum\\sub2\\e.txt", "baum\\.punkt\\p.txt"}) {
            test::writeFile(dir / file, "x");
        }
        finder.Path(root);
        finder.FileSpec("*.txt");
        finder.addListener(events);
    }
    test::TempFolder dir;
    std::string root;
    cfindfile finder;
    Recorder events;
    Paths list{"vorher"};
};

TEST_F(FindFiles, DepthFirstOrderSkippingDotFoldersButNotHiddenOnes) {
    ASSERT_TRUE(finder.FindAll(list));
    const Paths expected{"",
                         root + "a.txt",
                         root + "sub1\\z.txt",  // a folder's own matches before its subfolders
                         root + "sub1\\deep\\d.txt",
                         root + "sub2\\e.txt",
                         root + "Versteckt\\h.txt"};
    EXPECT_EQ(list, expected);
    EXPECT_EQ(events.begins, 1);
    EXPECT_EQ(events.ends, std::vector<int32_t>{5});
    EXPECT_EQ(events.found, Paths(expected.begin() + 1, expected.end()));
    EXPECT_FALSE(finder.Searching());
}

TEST_F(FindFiles, StarDotStarMatchesDotEntriesAndFolders) {
    finder.Path(root + "sub1\\");
    finder.FileSpec("*.*");
    ASSERT_TRUE(finder.FindAll(list));
    const std::string s = root + "sub1\\";
    EXPECT_EQ(list, (Paths{"", s + ".", s + "..", s + "deep", s + "z.txt", s + "deep\\.",
                           s + "deep\\..", s + "deep\\d.txt"}));
}

TEST_F(FindFiles, NothingFoundIsStillASearch) {
    finder.FileSpec("*.xyz");
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list, Paths{""});
    EXPECT_EQ(events.ends, std::vector<int32_t>{0});
}

TEST_F(FindFiles, PathWithoutSeparatorIsConcatenatedAsItIs) {
    test::writeFile(dir / "baum-notiz.txt", "x");
    finder.Path(dir / "baum");
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list, (Paths{"", dir / "baum" + "baum-notiz.txt"}));
}

TEST_F(FindFiles, EmptyPathOrFileSpecStartsNothing) {
    finder.FileSpec("");
    EXPECT_FALSE(finder.FindAll(list));
    finder.FileSpec("*.txt");
    finder.Path("");
    EXPECT_FALSE(finder.FindAll(list));
    EXPECT_EQ(list, Paths{"vorher"});
    EXPECT_EQ(events.begins, 0);
    EXPECT_TRUE(events.ends.empty());
}

TEST_F(FindFiles, CancelInTheFirstMatch) {
    events.onFound = [](std::string&, bool& cancel) { cancel = true; };
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list, (Paths{"", root + "a.txt"}));
    EXPECT_EQ(events.ends, std::vector<int32_t>{1});
}

TEST_F(FindFiles, ListenerChangingTheNameChangesNothingInTheList) {
    events.onFound = [](std::string& name, bool&) { name = "anders"; };
    Recorder second;
    finder.addListener(second);
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list[1], root + "a.txt");
    EXPECT_EQ(second.found.front(), "anders");  // later listeners see the change
    EXPECT_EQ(list.size(), 6u);
}

TEST_F(FindFiles, FindAllInsideTheEvents) {
    Paths nested{"unberuehrt"};
    bool nestedResult = true;
    events.onBegin = [&] { nestedResult = finder.FindAll(nested); };
    ASSERT_TRUE(finder.FindAll(list));  // stopped before any folder was listed
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(nested, Paths{"unberuehrt"});
    EXPECT_EQ(list, Paths{""});

    events = Recorder{};
    events.onFound = [&](std::string&, bool&) { nestedResult = finder.FindAll(nested); };
    ASSERT_TRUE(finder.FindAll(list));  // no lasting effect: Cancel decides
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(list.size(), 6u);

    events = Recorder{};
    bool first = true;
    events.onEnd = [&] {
        if (!std::exchange(first, false)) return;
        nestedResult = finder.FindAll(nested);  // a complete new search
    };
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_TRUE(nestedResult);
    EXPECT_EQ(nested, list);
    EXPECT_EQ(events.begins, 2);
}

TEST(FindFilesLinks, LinkCycleIsWalkedOnce) {
    // tree\a\g.txt, tree\a\b\f.txt and tree\a\b\zurueck, a link back to tree\a.
    const char* tree = std::getenv("FK_LINK_TREE");
    if (!tree) GTEST_SKIP() << "FK_LINK_TREE names no fixture tree";
    std::string base(tree);
    std::replace(base.begin(), base.end(), '/', '\\');
    const std::string root = base + "\\a\\";
    cfindfile finder;
    finder.Path(root);
    finder.FileSpec("*.txt");
    Paths list;
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list, (Paths{"", root + "g.txt", root + "b\\f.txt"}));

    // tree\c\a_link links to tree\c\b and is listed first: b by its own path is
    // still walked.
    const std::string c = base + "\\c\\";
    finder.Path(c);
    ASSERT_TRUE(finder.FindAll(list));
    EXPECT_EQ(list, (Paths{"", c + "a_link\\x.txt", c + "b\\x.txt"}));
}

}  // namespace
}  // namespace fk
