#include "cars/car_catalogue.h"
#include "test_dir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velnor {
namespace {

using test::TempDir;

std::vector<std::string> names(const CarCatalogue& catalogue) {
    std::vector<std::string> result;
    for (int i = 0; i <= catalogue.lastIndex(); ++i)
        result.emplace_back(catalogue.entry(i).name);
    return result;
}

CarCatalogue scanned(const TempDir& dir) {
    CarCatalogue catalogue(dir.path());
    catalogue.scanCars();
    catalogue.sortCars();
    return catalogue;
}

// The text at an entry's offset, up to the line end.
std::string lineAt(const TempDir& dir, const CatalogueEntry& entry) {
    const std::string contents = dir.read(entry.path);
    const std::size_t end = contents.find('\n', static_cast<std::size_t>(entry.offset));
    return contents.substr(static_cast<std::size_t>(entry.offset),
                           end - static_cast<std::size_t>(entry.offset));
}

const char* const kKiteFile = "/ two cars\n"
                              "[Kite]\n"
                              "weight = 1000\n"
                              "gear1 = 3.5\n"
                              "color = 255 0 0\n"
                              "[Kite Sport]\n"
                              "weight = 900\n"
                              "displacement = 2500\n";

TEST(CarCatalogueTest, NoCarFilesListsNoCar) {
    TempDir dir;
    dir.write("readme.txt", "[NotACar]\n");
    const CarCatalogue catalogue = scanned(dir);
    EXPECT_EQ(catalogue.lastIndex(), -1);
}

TEST(CarCatalogueTest, ListsNamesPathsOffsetsAndSortsByBytes) {
    TempDir dir;
    dir.write("cars/CARS.CAR", "[b]\n[B]\n");
    dir.write("more.car", "\n// comment\n[ab]\n\n[a]   \n");
    dir.write("old.car.bak", "[hidden]\n");
    const CarCatalogue catalogue = scanned(dir);
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"B", "a", "ab", "b"}));
    for (int i = 0; i <= catalogue.lastIndex(); ++i) {
        const CatalogueEntry& entry = catalogue.entry(i);
        EXPECT_EQ(lineAt(dir, entry).substr(0, 1), "[") << entry.name;
    }
    EXPECT_STREQ(catalogue.entry(0).path, "cars/CARS.CAR");
    EXPECT_EQ(catalogue.entry(0).offset, 4);
    EXPECT_STREQ(catalogue.entry(1).path, "more.car");
    EXPECT_EQ(catalogue.entry(1).offset, 18);
}

TEST(CarCatalogueTest, SummaryFromTheSectionsValues) {
    TempDir dir;
    dir.write("a.car",
              "[Alpha]\r\npower = 150 6000\r\ndisplacement = 1998\r\ncomment = Fine car\r\n"
              "[Beta]\r\n");
    const CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.count(), 2);
    const std::string alpha = catalogue.entry(0).comment;
    EXPECT_NE(alpha.find("  150 [ps] /  6000 [rpm]\n"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("    0.0 [kg\x81"
                         "Em] /     0 [rpm]\n"),
              std::string::npos)
        << alpha;
    EXPECT_NE(alpha.find(" 1998 [cc]"), std::string::npos);
    EXPECT_EQ(alpha.substr(alpha.size() - 8), "Fine car");
    EXPECT_EQ(std::string(catalogue.entry(1).comment).find("Fine car"), std::string::npos);
    EXPECT_EQ(catalogue.entry(1).offset, 68); // CRLF counted as two bytes
}

TEST(CarCatalogueTest, CommentWithBracketsStartsANewCar) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\ncomment = see [note]\n");
    EXPECT_EQ(names(scanned(dir)), (std::vector<std::string>{"Alpha", "note"}));
}

TEST(CarCatalogueTest, LoadReadsTheSectionAndColour) {
    TempDir dir;
    dir.write("k.car", kKiteFile);
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(names(catalogue), (std::vector<std::string>{"Kite", "Kite Sport"}));

    // Loading Kite reads on into Kite Sport, whose header also holds the name.
    ASSERT_EQ(catalogue.loadCar(0), 0);
    EXPECT_STREQ(catalogue.workCar().spec().carname(), "Kite");
    EXPECT_EQ(catalogue.workCar().spec().weight(), 900);
    EXPECT_EQ(catalogue.workCar().spec().displacement(), 2500);
    EXPECT_EQ(catalogue.workCar().spec().gear(0), 3.5);
    EXPECT_EQ(catalogue.carColour(), (CarColour{1.0f, 0.0f, 0.0f}));
    // The comment is the summary, cut to 63 bytes.
    EXPECT_EQ(std::string(catalogue.workCar().spec().comment()),
              std::string(catalogue.entry(0).comment).substr(0, 63));

    ASSERT_EQ(catalogue.loadCar(1), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 900);
    EXPECT_EQ(catalogue.workCar().spec().gear(0), 0.0);
    EXPECT_EQ(catalogue.carColour(), kNoCarColour);
}

TEST(CarCatalogueTest, KiteAfterKiteSportFoundFromTheStartTakesKiteSportsHeader) {
    TempDir dir;
    dir.write("k.car", "[Kite Sport]\ndisplacement = 2500\n[Kite]\nweight = 1000\n");
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.indexOfCar("Kite"), 0);
    ASSERT_EQ(catalogue.entry(0).offset, 33);
    // Two bytes shorter: Kite's stored position now falls inside its header line, so Kite is
    // looked for again from the start, where the header of Kite Sport already holds its name.
    dir.write("k.car", "[Kite Sport]\ndisplacement=2500\n[Kite]\nweight = 1000\n");
    ASSERT_EQ(catalogue.loadCar(0), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 1000);
    EXPECT_EQ(catalogue.workCar().spec().displacement(), 2500);
}

TEST(CarCatalogueTest, StalePositionIsFoundByReadingOnAndFromTheStart) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n");
    CarCatalogue catalogue = scanned(dir);
    // Edited by hand after the scan: both sections moved.
    dir.write("a.car", "[Beta]\nweight = 1300\n/ padding line\n[Alpha]\nweight = 800\n");
    ASSERT_EQ(catalogue.loadCar(0), 0); // Alpha: read on from its old position
    EXPECT_EQ(catalogue.workCar().spec().weight(), 800);
    ASSERT_EQ(catalogue.loadCar(1), 0); // Beta: found again from the start
    EXPECT_EQ(catalogue.workCar().spec().weight(), 1300);
}

TEST(CarCatalogueTest, LoadFailures) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\nweight = 800\n");
    CarCatalogue catalogue = scanned(dir);
    EXPECT_EQ(catalogue.loadCar(-1), -1);
    EXPECT_EQ(catalogue.loadCar(1), -1);

    dir.write("a.car", "[Other]\nweight = 800\n"); // the section is gone
    EXPECT_EQ(catalogue.loadCar(0), -1);
    EXPECT_STREQ(catalogue.workCar().spec().carname(), "Velnor");
    EXPECT_EQ(catalogue.workCar().spec().weight(), 0.0);

    std::remove(dir.file("a.car").c_str()); // the file is gone
    EXPECT_EQ(catalogue.loadCar(0), -1);
    EXPECT_EQ(catalogue.findCar("Alpha"), -1);
    EXPECT_EQ(catalogue.findCar("Nobody"), -1);
}

TEST(CarCatalogueTest, FindCarComparesWholeNamesByteForByte) {
    TempDir dir;
    dir.write("a.car", "[Kite]\nweight = 1\n[kite]\nweight = 2\n[Kite]\nweight = 3\n");
    CarCatalogue catalogue = scanned(dir);
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Kite", "Kite", "kite"}));
    ASSERT_EQ(catalogue.findCar("kite"), 0); // loaded
    EXPECT_EQ(catalogue.workCar().spec().weight(), 2);
    ASSERT_EQ(catalogue.findCar("Kite"), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 1); // the first of the two
    EXPECT_EQ(catalogue.indexOfCar("Kite"), 0);
    EXPECT_EQ(catalogue.findCar("Kit"), -1);
}

CarCatalogue withAppended(const TempDir& dir, std::initializer_list<const char*> cars) {
    CarCatalogue catalogue(dir.path());
    double weight = 1000;
    for (const char* name : cars) {
        catalogue.workCar().fullReset(0);
        CarSpec& spec = catalogue.workCar().spec();
        spec.setCarname(name);
        spec.setWeight(weight += 100);
        spec.setDisplacement(1500);
        spec.setTire(0.6);
        spec.setGear(0, 3.2);
        EXPECT_EQ(catalogue.appendCar("Velnor.car"), 0);
    }
    return catalogue;
}

TEST(CarCatalogueTest, AppendWritesASectionTheListingReadsBack) {
    TempDir dir;
    CarCatalogue catalogue = withAppended(dir, {"Alpha", "Beta", "Gamma"});
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(dir.read("Velnor.car").substr(0, 9), "\n[Alpha]\n");
    EXPECT_EQ(catalogue.entry(0).offset, 1);
    EXPECT_EQ(std::string(catalogue.entry(0).comment), "\x91\x8d\x94r\x8b"
                                                       "C\x97\xca 1500 cc");

    const CarCatalogue again = scanned(dir);
    ASSERT_EQ(names(again), names(catalogue));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(again.entry(i).offset, catalogue.entry(i).offset);
    // Engine speeds are not written, so the new summary shows 0 rpm.
    EXPECT_NE(std::string(again.entry(0).comment).find("    0 [rpm]"), std::string::npos);
}

TEST(CarCatalogueTest, DeleteKeepsTheOtherCarsAndTheirPositions) {
    TempDir dir;
    CarCatalogue catalogue = withAppended(dir, {"Alpha", "Beta", "Gamma"});
    ASSERT_EQ(catalogue.deleteCar(0), 0);
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Beta", "Gamma"}));
    EXPECT_EQ(dir.read("Velnor.car").find("Alpha"), std::string::npos);
    for (int i = 0; i <= catalogue.lastIndex(); ++i)
        EXPECT_EQ(lineAt(dir, catalogue.entry(i)),
                  std::string("[").append(catalogue.entry(i).name).append("]"));
    ASSERT_EQ(catalogue.loadCar(1), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 1300);
    ASSERT_EQ(catalogue.deleteCar(1), 0);
    ASSERT_EQ(catalogue.deleteCar(0), 0);
    EXPECT_EQ(catalogue.lastIndex(), -1);
    EXPECT_EQ(dir.read("Velnor.car"), "\n");
}

TEST(CarCatalogueTest, DeleteCopiesOtherLinesByteForByte) {
    TempDir dir;
    const std::string before = "/ mine\r\n[Alpha]\r\nweight = 800\r\n/ note [x] is Alpha's\r\n"
                               "[Beta]\r\nweight = 1300   \r\n";
    dir.write("a.car", before);
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.deleteCar(0), 0);
    EXPECT_EQ(dir.read("a.car"), "/ mine\r\n[Beta]\r\nweight = 1300   \r\n");
    EXPECT_EQ(lineAt(dir, catalogue.entry(0)), "[Beta]\r");
}

// Deleting or editing one car leaves every other car of the file as it was, byte for byte and
// in what it loads, whatever lines the removed car's section holds: its section ends only at the
// next line the listing takes for a car's header.
TEST(CarCatalogueTest, DeletingOrEditingACarLeavesTheOtherCarsAlone) {
    struct Row {
        const char* name;
        const char* middle; // Beta's section, after its header
    };
    const Row rows[] = {
        {"comment line with brackets", "weight = 1300\n/ tuned [stage 2]\nweight = 1350\n"
                                       "gear1 = 3.9\ndisplacement = 2900\n"},
        {"comment line with brackets and spaces after",
         "weight = 1300\n/ [old] values:   \ngear1 = 3.9\nweight = 1350\n"},
        {"bracketed comment right after the header", "/ [x]\nweight = 1350\ngear1 = 3.9\n"},
        {"CRLF and a bracketed comment", "weight = 1300\r\n//[a] [b]\r\nweight = 1350\r\n"},
    };
    const std::string alpha =
        "/ my cars\n[Alpha]\nweight = 800\ngear1 = 3.2\ndisplacement = 1500\n";
    const std::string gamma = "[Gamma]\nweight = 2000\ngear1 = 4.1\n";
    for (const Row& row : rows) {
        for (const bool edit : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (edit ? ", edited" : ", deleted"));
            TempDir dir;
            dir.write("a.car", alpha + "[Beta]\n" + row.middle + gamma);
            CarCatalogue catalogue = scanned(dir);
            ASSERT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
            struct Values {
                double weight, gear1, displacement;
            };
            const auto values = [&](int index) {
                EXPECT_EQ(catalogue.loadCar(index), 0);
                const CarSpec& spec = catalogue.workCar().spec();
                return Values{spec.weight(), spec.gear(0), spec.displacement()};
            };
            const Values alphaBefore = values(0);
            const Values gammaBefore = values(2);
            EXPECT_EQ(alphaBefore.weight, 800);

            if (edit) {
                ASSERT_EQ(catalogue.loadCar(1), 0);
                catalogue.workCar().spec().setWeight(1400);
                ASSERT_EQ(catalogue.rewriteCar(1), 0);
            } else {
                ASSERT_EQ(catalogue.deleteCar(1), 0);
            }
            const std::string after = dir.read("a.car");
            EXPECT_EQ(after.substr(0, alpha.size() + gamma.size()), alpha + gamma);

            const CarCatalogue again = scanned(dir);
            EXPECT_EQ(names(again), edit ? (std::vector<std::string>{"Alpha", "Beta", "Gamma"})
                                         : (std::vector<std::string>{"Alpha", "Gamma"}));
            const int a = catalogue.indexOfCar("Alpha");
            const int g = catalogue.indexOfCar("Gamma");
            const Values alphaAfter = values(a);
            EXPECT_EQ(alphaAfter.weight, alphaBefore.weight);
            EXPECT_EQ(alphaAfter.gear1, alphaBefore.gear1);
            EXPECT_EQ(alphaAfter.displacement, alphaBefore.displacement);
            const Values gammaAfter = values(g);
            EXPECT_EQ(gammaAfter.weight, gammaBefore.weight);
            EXPECT_EQ(gammaAfter.gear1, gammaBefore.gear1);
            if (edit) {
                ASSERT_EQ(catalogue.findCar("Beta"), 0);
                EXPECT_EQ(catalogue.workCar().spec().weight(), 1400);
            }
        }
    }
}

TEST(CarCatalogueTest, DeleteWithAStalePositionRemovesTheRightCar) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n");
    CarCatalogue catalogue = scanned(dir);
    dir.write("a.car", "[Beta]\nweight = 1300\n[Alpha]\nweight = 800\n"); // reordered by hand
    ASSERT_EQ(catalogue.deleteCar(0), 0); // Alpha, stored at 0 where Beta now stands
    EXPECT_EQ(dir.read("a.car"), "[Beta]\nweight = 1300\n");
}

// A car that is no longer in its file cannot be deleted or rewritten: the operation says so and
// changes neither the file nor the list.
TEST(CarCatalogueTest, DeleteAndRewriteReportACarThatIsNotInItsFile) {
    struct Row {
        const char* name;
        const char* file; // what a.car holds when the car is deleted; nullptr: the file is gone
    };
    const Row rows[] = {
        {"another car in its place", "[Gamma]\nweight = 1\n"},
        {"only a comment naming it", "/ [Beta] was here\n[Gamma]\n"},
        {"empty file", ""},
        {"file removed", nullptr},
    };
    for (const Row& row : rows) {
        for (const bool rewrite : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (rewrite ? ", rewrite" : ", delete"));
            TempDir dir;
            dir.write("a.car", "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n");
            CarCatalogue catalogue = scanned(dir);
            ASSERT_EQ(catalogue.loadCar(1), 0);
            if (row.file)
                dir.write("a.car", row.file);
            else
                std::remove(dir.file("a.car").c_str());
            EXPECT_EQ(rewrite ? catalogue.rewriteCar(1) : catalogue.deleteCar(1), -1);
            EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Beta"}));
            if (row.file) {
                EXPECT_EQ(dir.read("a.car"), row.file);
            } else {
                EXPECT_FALSE(std::filesystem::exists(dir.file("a.car")));
            }
        }
    }
}

// Texts the player typed go into a car file as one line each that reads back as what the list
// shows: control characters (a pasted line break, a tab) are dropped, and a comment's "[" and "]",
// which together would make its line a car's header, are written in their full-width forms.
TEST(CarCatalogueTest, TypedTextsAreWrittenAsLinesThatReadBackTheSame) {
    struct Row {
        const char* name;
        const char* carname;
        const char* comment;
        const char* listedName;
        const char* listedComment; // the appended car's summary: its comment
    };
    const Row rows[] = {
        {"line break in the name", "Falco\nGT", "", "FalcoGT", nullptr},
        {"CRLF and tab in the name", "\tFalco\r\nGT\r\n", "", "FalcoGT", nullptr},
        {"Ctrl-Z in the name",
         "Fal\x1a"
         "co",
         "", "Falco", nullptr},
        {"line breaks in the comment", "Falco", "fast\nand\r\nlight\n", "Falco", "fastandlight"},
        {"brackets in the comment", "Falco", "see [note]", "Falco", "see \x81\x6dnote\x81\x6e"},
        {"one bracket stays", "Falco", "a [b", "Falco", "a [b"},
        {"brackets in the name", "[Falco] GT", "", "[Falco] GT", nullptr},
    };
    for (const Row& row : rows) {
        for (const bool rewrite : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (rewrite ? ", rewritten" : ", appended"));
            TempDir dir;
            dir.write("Velnor.car", "[Alpha]\nweight = 800\n");
            CarCatalogue catalogue = scanned(dir);
            catalogue.workCar().fullReset(0);
            CarSpec& spec = catalogue.workCar().spec();
            spec.setCarname(row.carname);
            spec.setComment(row.comment);
            spec.setWeight(1234);
            ASSERT_EQ(rewrite ? catalogue.rewriteCar(0) : catalogue.appendCar("Velnor.car"), 0);
            const int added = catalogue.indexOfCar(row.listedName);
            ASSERT_GE(added, 0);
            if (row.listedComment) {
                EXPECT_STREQ(catalogue.entry(added).comment, row.listedComment);
            }

            // The file lists what the catalogue holds, and the car reads back.
            const CarCatalogue again = scanned(dir);
            EXPECT_EQ(names(again), names(catalogue));
            ASSERT_EQ(catalogue.loadCar(added), 0);
            EXPECT_EQ(catalogue.workCar().spec().weight(), 1234);

            // Deleting it removes it from the file.
            ASSERT_EQ(catalogue.deleteCar(added), 0);
            const CarCatalogue left = scanned(dir);
            EXPECT_EQ(names(left), names(catalogue));
            EXPECT_EQ(left.indexOfCar(row.listedName), -1);
        }
    }
}

// The bytes 0x5B and 0x5D are also the second bytes of two-byte characters (ゼ and ゾ end in them):
// a comment holding both would read as a header in any form, so the car is not written.
TEST(CarCatalogueTest, ACommentThatWouldReadAsAHeaderIsRefused) {
    TempDir dir;
    const std::string before = "[Alpha]\nweight = 800\n";
    dir.write("Velnor.car", before);
    CarCatalogue catalogue = scanned(dir);
    catalogue.workCar().fullReset(0);
    catalogue.workCar().spec().setCarname("Zero");
    catalogue.workCar().spec().setComment("\x83\x5b\x83\x8d \x83\x5d\x83\x4e"); // ゼロ ゾク
    EXPECT_EQ(catalogue.appendCar("Velnor.car"), -1);
    EXPECT_EQ(catalogue.rewriteCar(0), -1);
    EXPECT_EQ(dir.read("Velnor.car"), before);
    EXPECT_EQ(names(catalogue), std::vector<std::string>{"Alpha"});
}

// A car file reached through a symbolic link is listed; editing it changes the linked file and
// keeps the link, as long as that file lies in the game directory. A file linked from outside is
// read, but never written.
TEST(CarCatalogueTest, LinkedCarFilesAreListedAndWrittenOnlyInsideTheGameDirectory) {
    namespace fs = std::filesystem;
    TempDir dir;
    TempDir away;
    dir.write("store/real.car", "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n");
    fs::create_symlink("store/real.car", dir.file("mine.car"));
    away.write("theirs.car", "[Gamma]\nweight = 2000\n[Delta]\nweight = 900\n");
    fs::create_symlink(away.file("theirs.car"), dir.file("theirs.car"));
    fs::create_directory_symlink(away.path(), dir.file("shared"));

    CarCatalogue catalogue = scanned(dir);
    const auto at = [&](const char* name, const char* path) {
        for (int i = 0; i <= catalogue.lastIndex(); ++i)
            if (std::string(catalogue.entry(i).name) == name &&
                std::string(catalogue.entry(i).path) == path)
                return i;
        return -1;
    };
    ASSERT_GE(at("Alpha", "mine.car"), 0);
    ASSERT_GE(at("Gamma", "theirs.car"), 0);
    ASSERT_GE(at("Delta", "shared/theirs.car"), 0);
    ASSERT_EQ(catalogue.loadCar(at("Gamma", "theirs.car")), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 2000);

    ASSERT_EQ(catalogue.deleteCar(at("Alpha", "mine.car")), 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("mine.car")));
    EXPECT_EQ(dir.read("store/real.car"), "[Beta]\nweight = 1300\n");

    const std::string theirs = away.read("theirs.car");
    EXPECT_EQ(catalogue.deleteCar(at("Gamma", "theirs.car")), -1);
    ASSERT_EQ(catalogue.loadCar(at("Delta", "shared/theirs.car")), 0);
    EXPECT_EQ(catalogue.rewriteCar(at("Delta", "shared/theirs.car")), -1);
    catalogue.workCar().spec().setCarname("Epsilon");
    EXPECT_EQ(catalogue.appendCar("shared/theirs.car"), -1);
    EXPECT_EQ(away.read("theirs.car"), theirs);
    EXPECT_TRUE(fs::is_symlink(dir.file("theirs.car")));
}

TEST(CarCatalogueTest, RewriteMovesTheCarToTheEndOfItsFileAndSorts) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n");
    dir.write("b.car", "[Delta]\nweight = 2000\n");
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.loadCar(0), 0);
    catalogue.workCar().spec().setCarname("Zeta");
    catalogue.workCar().spec().setComment("");
    catalogue.workCar().spec().setWeight(850);
    ASSERT_EQ(catalogue.rewriteCar(0), 0);
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Beta", "Delta", "Zeta"}));
    const std::string contents = dir.read("a.car");
    EXPECT_EQ(contents.substr(0, 29), "[Beta]\nweight = 1300\n\n[Zeta]\n");
    EXPECT_EQ(catalogue.entry(0).offset, 0);
    EXPECT_EQ(catalogue.entry(2).offset, 22);
    ASSERT_EQ(catalogue.findCar("Zeta"), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 850);
}

// A file from an old system may end in a Ctrl-Z mark, where the reader stops. The cars edited in
// it are written where the reader still finds them, before the mark; the mark and what follows it
// (which no car ever holds) go.
TEST(CarCatalogueTest, CarsEditedInAFileWithAnEndMarkAreListedAgain) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\r\nweight = 800\r\n[Beta]\r\nweight = 1300\r\n\x1a[Lost]\r\n");
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_EQ(catalogue.loadCar(0), 0);
    catalogue.workCar().spec().setWeight(850);
    ASSERT_EQ(catalogue.rewriteCar(0), 0);
    catalogue.workCar().spec().setCarname("Gamma");
    ASSERT_EQ(catalogue.appendCar("a.car"), 0);

    // Beta's 23 bytes, the empty line, then Alpha's section from byte 24 on.
    const std::string contents = dir.read("a.car");
    EXPECT_EQ(contents.substr(0, 32), "[Beta]\r\nweight = 1300\r\n\n[Alpha]\n");
    EXPECT_EQ(contents.find('\x1a'), std::string::npos);
    CarCatalogue again = scanned(dir);
    ASSERT_EQ(names(again), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(again.entry(0).offset, 24);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(again.entry(i).offset, catalogue.entry(i).offset) << again.entry(i).name;
    ASSERT_EQ(again.loadCar(0), 0);
    EXPECT_EQ(again.workCar().spec().weight(), 850);
}

// A file whose last line ends in a lone carriage return (no line feed after it): a lone CR is
// text, so "[Old]\r" is the header of a car named "Old]" (a header's last byte closes it), and
// must stay that car when one is added after it. A bare "\n" would make the CR part of a line end
// and turn it into a car "Old" that the catalogue does not know.
TEST(CarCatalogueTest, ACarAddedAfterALoneCarriageReturnAddsOnlyItself) {
    TempDir dir;
    dir.write("a.car", "[Alpha]\nweight = 800\n[Old]\r");
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Old]"}));
    ASSERT_EQ(catalogue.loadCar(0), 0);
    catalogue.workCar().spec().setCarname("Gamma");
    ASSERT_EQ(catalogue.appendCar("a.car"), 0);

    // "[Alpha]\nweight = 800\n" is 21 bytes, "[Old]\r\r\n" 8 more: Gamma's header at byte 29.
    const std::string contents = dir.read("a.car");
    EXPECT_EQ(contents.substr(0, 37), "[Alpha]\nweight = 800\n[Old]\r\r\n[Gamma]\n");
    CarCatalogue again = scanned(dir);
    EXPECT_EQ(names(again), (std::vector<std::string>{"Alpha", "Gamma", "Old]"}));
    for (int i = 0; i <= again.lastIndex(); ++i) // where the catalogue says each car is
        for (int j = 0; j <= catalogue.lastIndex(); ++j)
            if (std::string(catalogue.entry(j).name) == again.entry(i).name) {
                EXPECT_EQ(again.entry(i).offset, catalogue.entry(j).offset) << again.entry(i).name;
            }
    EXPECT_EQ(catalogue.entry(catalogue.lastIndex()).offset, 29);
    ASSERT_EQ(again.findCar("Gamma"), 0);
}

TEST(CarCatalogueTest, FailedWritesChangeNeitherFileNorCatalogue) {
    TempDir dir;
    const std::string before = "[Alpha]\nweight = 800\n[Beta]\nweight = 1300\n";
    dir.write("a.car", before);
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.loadCar(0), 0);
    {
        test::FileSizeLimit full(8);
        EXPECT_EQ(catalogue.deleteCar(0), -1);
        EXPECT_EQ(catalogue.rewriteCar(0), -1);
        EXPECT_EQ(catalogue.appendCar("a.car"), -1);
    }
    EXPECT_EQ(dir.read("a.car"), before);
    EXPECT_EQ(names(catalogue), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(catalogue.entry(1).offset, 21);
}

TEST(CarCatalogueTest, AppendRefusesPathsOutsideTheGameDirectory) {
    TempDir dir;
    CarCatalogue catalogue(dir.path() + "/game");
    dir.write("game/keep.txt", "");
    for (const char* path : {"../x.car", "/tmp/x.car", "a/../../x.car", ""})
        EXPECT_EQ(catalogue.appendCar(path), -1) << path;
    EXPECT_EQ(catalogue.lastIndex(), -1);
    EXPECT_EQ(catalogue.appendCar("sub/../Velnor.car"), -1);
}

TEST(CarCatalogueTest, MoreThanAHundredCarsListsTheFirstHundred) {
    TempDir dir;
    std::string file;
    for (int i = 0; i < 120; ++i)
        file +=
            "[Car " + std::to_string(1000 + i) + "]\ndisplacement = " + std::to_string(i) + "\n";
    dir.write("many.car", file);
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.count(), CarCatalogue::kCapacity);
    EXPECT_STREQ(catalogue.entry(99).name, "Car 1099");
    // The cars past the capacity do not change the last listed car's summary.
    EXPECT_NE(std::string(catalogue.entry(99).comment).find("   99 [cc]"), std::string::npos);
    catalogue.workCar().spec().setCarname("One more");
    EXPECT_EQ(catalogue.appendCar("Velnor.car"), -1);
    EXPECT_EQ(catalogue.count(), CarCatalogue::kCapacity);
}

TEST(CarCatalogueTest, LongNamesAndLinesAreCut) {
    TempDir dir;
    dir.write("a.car", "[" + std::string(50, 'N') + "]\ncomment = " + std::string(3000, 'c') +
                           "weight = 5\nweight = 700\n");
    CarCatalogue catalogue = scanned(dir);
    ASSERT_EQ(catalogue.count(), 1);
    EXPECT_EQ(std::string(catalogue.entry(0).name), std::string(31, 'N'));
    ASSERT_EQ(catalogue.loadCar(0), 0);
    EXPECT_EQ(catalogue.workCar().spec().weight(), 700);
}

} // namespace
} // namespace velnor
