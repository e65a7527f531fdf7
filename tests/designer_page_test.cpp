// Where the windows' Help menu finds the page: beside the program (the Windows zip), in an
// installed prefix, in a build tree, or at the installed place; the first that exists wins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "session/designer_page.h"
#include "tests/support.h"

namespace orvanta::test {
namespace {

class DesignerPageTest : public SystemTest {
  protected:
    // Paths go in and out as UTF-8, whatever the system's own code page.
    static std::filesystem::path fromUtf8(const std::string& text) {
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    }
    std::string at(const std::string& relative) const {
        const std::u8string text =
            (folder / fromUtf8(relative)).lexically_normal().make_preferred().u8string();
        return std::string(text.begin(), text.end());
    }
    void page(const std::string& relative) const {
        const std::filesystem::path file = fromUtf8(at(relative));
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "<!doctype html>";
    }
    // A place the tests never create, in place of /usr/share/orvanta/web/index.html, which
    // an installed package may hold.
    std::string nowhere() const { return at("not-installed/index.html"); }
};

TEST_F(DesignerPageTest, TheFirstPlaceThatHoldsThePageWinsInTheOrderOfTheReleases) {
    EXPECT_EQ(findDesignerPage(at("build/release"), nowhere()), std::nullopt);

    page("build/web/site/index.html");
    EXPECT_EQ(findDesignerPage(at("build/release"), nowhere()), at("build/web/site/index.html"));

    page("usr/share/orvanta/web/index.html");
    EXPECT_EQ(findDesignerPage(at("usr/bin"), nowhere()), at("usr/share/orvanta/web/index.html"));

    page("Orvanta/designer/index.html");
    page("web/site/index.html");
    EXPECT_EQ(findDesignerPage(at("Orvanta"), nowhere()), at("Orvanta/designer/index.html"));

    // The installed place is the last resort, and a folder named index.html is no page.
    page("elsewhere/index.html/keep");
    EXPECT_EQ(findDesignerPage(at("a/unknown"), at("elsewhere/index.html")), std::nullopt);
    EXPECT_EQ(findDesignerPage(at("a/unknown"), at("build/web/site/index.html")),
              at("build/web/site/index.html"));
    EXPECT_EQ(findDesignerPage("", nowhere()), std::nullopt);
}

TEST_F(DesignerPageTest, APathOutsideAsciiIsFoundAndGivenBackAsUtf8) {
    const std::string program = at("J\xc3\xbcrgen/\xc3\x89"
                                   "clair \xe2\x9c\x88");
    page("J\xc3\xbcrgen/\xc3\x89"
         "clair \xe2\x9c\x88/designer/index.html");
    const std::optional<std::string> found = findDesignerPage(program, nowhere());
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(*found, at("J\xc3\xbcrgen/\xc3\x89"
                         "clair \xe2\x9c\x88/designer/index.html"));
}

} // namespace
} // namespace orvanta::test
