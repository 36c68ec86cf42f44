#include "app/car_selection_dialog.h"
#include "app/car_spec_dialog.h"
#include "app/course_selection_dialog.h"
#include "app/dialog_layout.h"
#include "app/fakes.h"
#include "app/qt_message_boxes.h"
#include "app/road_conditions_dialog.h"
#include "app/transmission_dialog.h"
#include "app/version_box.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "test_dir.h"
#include "text/text_codec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>

namespace velnor {
namespace {

using test::FakeMessageBoxes;

template <typename Control = QWidget> Control* control(QWidget& dialog, int id) {
    auto* widget = qobject_cast<Control*>(DialogLayout::control(dialog, id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

void click(QWidget& dialog, int id) {
    control<QPushButton>(dialog, id)->click();
}

// Runs `action` on the modal dialog that the next step opens.
void whenModal(std::function<void(QDialog&)> action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        action(*dialog);
    });
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
}

QStringList rows(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

class DialogsTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", dir.path(),
                              std::filesystem::copy_options::recursive);
        dir.write("Velnor.rec", "[Oval]\n0 = 27000 28000 28456\n1 =\n2 =\n\n");
        dir.write("oval.rod", dir.read("oval.rod") + "\n"); // keep the file as it is
        game = std::make_unique<Game>(dir.path(), clock, events);
        game->scanFiles();
    }

    test::TempDir dir;
    ManualClock clock;
    RaceEvents events;
    FakeMessageBoxes messages;
    std::unique_ptr<Game> game;
};

TEST_F(DialogsTest, CarSelectionListsTheCarsAndTogglesTheGhost) {
    game->setGhostEnabled(false);
    CarSelectionDialog dialog(*game, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("自動車の選択"));
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    EXPECT_EQ(rows(list), (QStringList{"Slowpoke", "Tester"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(game->ghostEnabled(), 1); // opening switches it on again
    for (const int id : {CarSelectionDialog::kNew, CarSelectionDialog::kEdit,
                         CarSelectionDialog::kDelete, CarSelectionDialog::kNote})
        EXPECT_FALSE(control(dialog, id)->isVisibleTo(&dialog)) << id;

    list->setCurrentRow(1);
    pressKey(list, Qt::Key_G);
    pressKey(list, Qt::Key_G);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"i ゴーストカーを表示しません",
                                                        "i ゴーストカーを表示します"}));
    EXPECT_EQ(game->ghostEnabled(), 1);
    EXPECT_EQ(list->currentRow(), 1); // G leaves the selection alone
    EXPECT_EQ(dialog.shownCar(), 1);
}

TEST_F(DialogsTest, OkReadsTheCarAndAsksForTheTransmission) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    control<QListWidget>(dialog, CarSelectionDialog::kList)->setCurrentRow(1);
    whenModal([](QDialog& transmission) {
        EXPECT_EQ(transmission.windowTitle(), QString::fromUtf8("オートマチック/マニュアルの選択"));
        click(transmission, TransmissionDialog::kManual);
    });
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_STREQ(game->playerCar.spec().carname(), "Tester");
    EXPECT_EQ(game->playerCar.spec().automatic(), 0);

    // Escape in the transmission dialog leaves the car automatic, as read from its file.
    CarSelectionDialog again(*game, messages, nullptr);
    whenModal([](QDialog& transmission) { transmission.reject(); });
    click(again, 1);
    EXPECT_EQ(game->playerCar.spec().automatic(), 1);

    // Enter presses the button that has the focus.
    CarSelectionDialog third(*game, messages, nullptr);
    whenModal([](QDialog& transmission) {
        QTest::keyClick(control(transmission, TransmissionDialog::kManual), Qt::Key_Return);
    });
    click(third, 1);
    EXPECT_EQ(game->playerCar.spec().automatic(), 0);
}

TEST_F(DialogsTest, OkWithoutACarKeepsTheDialogOpen) {
    std::filesystem::remove(dir.file("cars.car")); // the file vanished after the scan
    CarSelectionDialog dialog(*game, messages, nullptr);
    dialog.show();
    click(dialog, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    test::TempDir empty;
    Game bare(empty.path(), clock, events);
    bare.scanFiles();
    CarSelectionDialog none(bare, messages, nullptr);
    none.show();
    EXPECT_EQ(control<QListWidget>(none, CarSelectionDialog::kList)->count(), 0);
    click(none, 1);
    EXPECT_TRUE(none.isVisible());
    click(none, 2);
    EXPECT_FALSE(none.isVisible());
}

TEST_F(DialogsTest, ANewCarIsTheLastRowAndInVelnorCar) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    whenModal([](QDialog& spec) {
        EXPECT_EQ(spec.windowTitle(), QString::fromUtf8("自動車のスペック入力"));
        EXPECT_TRUE(control<QRadioButton>(spec, 1017)->isChecked());
        EXPECT_EQ(control<QLineEdit>(spec, 1023)->text(), "0.0025");
        control<QRadioButton>(spec, 1020)->click(); // クーペ
        EXPECT_EQ(control<QLineEdit>(spec, 1023)->text(), "0.0015");
        control<QLineEdit>(spec, 1048)->setText(QString::fromUtf8("Aero é 号"));
        control<QLineEdit>(spec, 1003)->setText("1695");
        control<QLineEdit>(spec, 1006)->setText("1100");
        control<QLineEdit>(spec, 1016)->setText("195/65R15");
        control<QLineEdit>(spec, 1028)->setText("1998");
        control<QLineEdit>(spec, 1010)->setText("3.5");
        control<QLineEdit>(spec, 1040)->setText("4.1");
        click(spec, 1);
    });
    click(dialog, CarSelectionDialog::kNew);
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QString::fromUtf8("Aero ? 号")); // é has no Shift-JIS
    EXPECT_EQ(list->currentRow(), 2);
    const std::string file = dir.read("Velnor.car");
    EXPECT_NE(file.find("[Aero ? \x8d\x86]\nwidth = 1695.000000\n"), std::string::npos) << file;
    EXPECT_NE(file.find("tire = 0.634500\ntype = 4\nair = 0.001500\n"), std::string::npos);
    EXPECT_EQ(game->carCatalogue.entry(2).offset, 1);
}

TEST_F(DialogsTest, DeletingTheLastRowSelectsTheOneAbove) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    list->setCurrentRow(1);
    messages.answers = {false};
    click(dialog, CarSelectionDialog::kDelete);
    EXPECT_EQ(messages.shown.back(), "! Tester を削除しますか？");
    EXPECT_EQ(list->count(), 2);
    click(dialog, CarSelectionDialog::kDelete);
    EXPECT_EQ(rows(list), QStringList{"Slowpoke"});
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(dir.read("cars.car").find("[Tester]"), std::string::npos);
}

TEST_F(DialogsTest, EditingKeepsTheSelectionOnItsRow) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    list->setCurrentRow(0); // Slowpoke
    whenModal([](QDialog& spec) {
        EXPECT_EQ(control<QLineEdit>(spec, 1003)->text(), "1500.000000");
        EXPECT_TRUE(control<QRadioButton>(spec, 1024)->isChecked()); // ハッチバック
        control<QLineEdit>(spec, 1048)->setText("Zippy");
        click(spec, 1);
    });
    click(dialog, CarSelectionDialog::kEdit);
    EXPECT_EQ(rows(list), (QStringList{"Tester", "Zippy"}));
    EXPECT_EQ(list->currentRow(), 0); // the same row, now another car
    ASSERT_EQ(game->carCatalogue.findCar("Zippy"), 0);
    EXPECT_EQ(game->carCatalogue.workCar().spec().weight(), 900);
}

// On a full disk every change of the car dialogs says which file it could not write, and the
// list and the files stay as they were.
TEST_F(DialogsTest, EveryFailedWriteIsReportedWithTheFile) {
    struct Row {
        const char* change;
        int button;
        const char* message;
    };
    const Row changes[] = {
        {"delete", CarSelectionDialog::kDelete, "  ファイル cars.car に書き込めません"},
        {"edit", CarSelectionDialog::kEdit, "  ファイル cars.car に書き込めません"},
        {"new", CarSelectionDialog::kNew, "  ファイル Velnor.car に書き込めません"},
    };
    for (const Row& row : changes) {
        CarSelectionDialog dialog(*game, messages, nullptr);
        auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
        list->setCurrentRow(1);
        const std::string before = dir.read("cars.car");
        {
            test::FileSizeLimit full(8);
            if (row.button != CarSelectionDialog::kDelete)
                whenModal([](QDialog& spec) {
                    control<QLineEdit>(spec, 1048)->setText("Renamed");
                    click(spec, 1);
                });
            click(dialog, row.button);
        }
        EXPECT_EQ(messages.shown.back(), row.message) << row.change;
        EXPECT_EQ(rows(list), (QStringList{"Slowpoke", "Tester"})) << row.change;
        EXPECT_EQ(dir.read("cars.car"), before) << row.change;
        EXPECT_FALSE(std::filesystem::exists(dir.file("Velnor.car"))) << row.change;
    }
}

TEST_F(DialogsTest, RoadConditions) {
    Vehicle& car = game->playerCar;
    car.roadConditions().next();
    car.roadConditions().next(); // entry 2
    RoadConditionsDialog dialog(car, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("道路条件の入力 その3"));
    EXPECT_EQ(control<QLineEdit>(dialog, 1034)->text(), "0.250"); // defaults, not the entry
    control<QLineEdit>(dialog, 1036)->setText("5%");
    control<QLineEdit>(dialog, 1050)->setText("120");
    click(dialog, 1051); // back to entry 1
    EXPECT_EQ(messages.shown.back(), "[デバッグ] grad = 5");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("道路条件の入力 その2"));
    click(dialog, 1052); // forward to entry 2 again: its values shown
    EXPECT_EQ(control<QLineEdit>(dialog, 1036)->text(), "2.862");
    EXPECT_EQ(control<QLineEdit>(dialog, 1050)->text(), "120.000");
    EXPECT_TRUE(control<QRadioButton>(dialog, 1029)->isChecked()); // surface 0: dry sand
    EXPECT_NEAR(car.roadConditions().grade(2), 0.04996, 1e-5);

    control<QRadioButton>(dialog, 1035)->click();
    EXPECT_EQ(control<QLineEdit>(dialog, 1034)->text(), "0.015");
    click(dialog, 1);
    EXPECT_EQ(car.roadConditions().currentIndex(), 0);
    EXPECT_NE(messages.shown.back().find("[スタート] 以下の条件でシミュレートします"),
              std::string::npos);
}

TEST_F(DialogsTest, TheDataOfAStoredCarAndWhatOkWrites) {
    ASSERT_EQ(game->carCatalogue.findCar("Tester"), 0);
    CarSpec target = game->carCatalogue.workCar().spec();
    target.setGear(5, 0.7);
    CarSpecDialog dialog(&game->carCatalogue.workCar().spec(), target, game->playerCar, messages,
                         nullptr);
    EXPECT_EQ(control<QLineEdit>(dialog, 1003)->text(), "1700.000000");
    EXPECT_EQ(control<QLineEdit>(dialog, 1023)->text(), "0.0025");
    EXPECT_FALSE(control(dialog, 1025)->isVisibleTo(&dialog));
    control<QLineEdit>(dialog, 1006)->setText("abc"); // refused: the weight stays
    control<QLineEdit>(dialog, 1016)->setText("0.63");
    control<QLineEdit>(dialog, 1015)->setText(""); // empty: the sixth ratio stays
    click(dialog, 1);
    EXPECT_EQ(target.weight(), 1000);
    EXPECT_EQ(target.tire(), 0.63);
    EXPECT_EQ(target.gear(5), 0.7);
}

TEST_F(DialogsTest, CourseSelectionShowsRecordsAndComment) {
    CourseSelectionDialog dialog(*game, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("コースの選択"));
    EXPECT_EQ(rows(control<QListWidget>(dialog, CourseSelectionDialog::kList)),
              QStringList{"Oval"});
    EXPECT_EQ(control<QLabel>(dialog, CourseSelectionDialog::kRecords)->text(),
              QString::fromUtf8("1    01'23.456\n2    --'--.---\n3    --'--.---\n"));
    EXPECT_EQ(control<QLabel>(dialog, CourseSelectionDialog::kComment)->text(),
              "Stadium oval, counter-clockwise");
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(game->selectedCourse(), 0);
    EXPECT_EQ(game->courseBest()[0].totalTime(), 83456);
    EXPECT_TRUE(game->course().world.roadPiece(0).isUsed());
}

// Answers a dialog if the next step opens one; the steps below must not need it.
void answerIfModal(std::function<void(QDialog&)> action) {
    QTimer::singleShot(0, [action] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            action(*dialog);
    });
}

// Types a new car through the hidden "新規入力..." button.
void typeNewCar(CarSelectionDialog& dialog, const QString& name, const QString& comment) {
    whenModal([name, comment](QDialog& spec) {
        control<QLineEdit>(spec, 1048)->setText(name);
        control<QLineEdit>(spec, 1049)->setText(comment);
        control<QLineEdit>(spec, 1003)->setText("1695");
        click(spec, 1);
    });
    click(dialog, CarSelectionDialog::kNew);
}

TEST_F(DialogsTest, ControlCharactersTypedIntoACarNeverReachItsFile) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    typeNewCar(dialog, QStringLiteral("Falco\nGT\r\n"),
               QStringLiteral("\tfast\r\nand") + QChar(1) + QStringLiteral("light") + QChar(0x7F));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), "Falco GT");
    const std::string file = dir.read("Velnor.car");
    EXPECT_NE(file.find("\n[Falco GT]\nwidth = 1695.000000\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\ncomment = fast and light\n"), std::string::npos) << file;

    // The file read afresh lists the car as the dialog does.
    Game again(dir.path(), clock, events);
    again.scanFiles();
    ASSERT_EQ(again.carCatalogue.indexOfCar("Falco GT"), 0);
    // (the scan puts the comment after the engine data in the summary)
    EXPECT_TRUE(std::string(again.carCatalogue.entry(0).comment).ends_with("\nfast and light"));

    // And deleting it takes its lines out of the file.
    list->setCurrentRow(2);
    messages.answers = {true};
    click(dialog, CarSelectionDialog::kDelete);
    EXPECT_EQ(messages.shown.back(), "! Falco GT を削除しますか？");
    EXPECT_EQ(rows(list), (QStringList{"Slowpoke", "Tester"}));
    EXPECT_EQ(dir.read("Velnor.car").find("Falco"), std::string::npos);
}

TEST_F(DialogsTest, JisFormsTypedIntoACarNameAreStoredAtTheirCodePageCodes) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    typeNewCar(dialog, QString::fromUtf8("R〜−¥‖¬"), QString());
    EXPECT_NE(dir.read("Velnor.car").find("\n[R\x81\x60\x81\x7C\x5C\x81\x61\x81\xCA]\n"),
              std::string::npos);
    EXPECT_EQ(control<QListWidget>(dialog, CarSelectionDialog::kList)->item(2)->text(),
              QString::fromUtf8("R～－\\∥￢"));
}

TEST_F(DialogsTest, AFullCatalogueSaysNoMoreCarsCanBeAdded) {
    std::string more;
    for (int i = 0; i < CarCatalogue::kCapacity - 2; ++i)
        more += "[Car " + std::to_string(100 + i) + "]\nweight = 1000\n\n";
    dir.write("more.car", more);
    game = std::make_unique<Game>(dir.path(), clock, events);
    game->scanFiles();
    ASSERT_EQ(game->carCatalogue.count(), 100);

    CarSelectionDialog dialog(*game, messages, nullptr);
    bool asked = false; // the player is not made to type a car that cannot be kept
    answerIfModal([&asked](QDialog& spec) {
        asked = true;
        control<QLineEdit>(spec, 1048)->setText("One too many");
        click(spec, 1);
    });
    click(dialog, CarSelectionDialog::kNew);
    QApplication::processEvents();
    EXPECT_FALSE(asked);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(),
              "i これ以上自動車を登録できません（登録できるのは100台までです）");
    EXPECT_EQ(control<QListWidget>(dialog, CarSelectionDialog::kList)->count(), 100);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Velnor.car")));
}

TEST_F(DialogsTest, TheRunSummaryTakesTheCarNameAsItIs) {
    for (const char* name : {"%1", "%2", "50% %10", "%L1 %%", "%9"}) {
        ASSERT_EQ(game->carCatalogue.findCar("Tester"), 0);
        game->playerCar = game->carCatalogue.workCar();
        game->playerCar.spec().setCarname(name);
        RoadConditionsDialog dialog(game->playerCar, messages, nullptr);
        click(dialog, 1);
        EXPECT_EQ(messages.shown.back(),
                  std::string("[スタート] 以下の条件でシミュレートします\n\n  車名  ") + name +
                      "\n\n  全幅 1700 [mm]    全高 1400 [mm]    重量 1000 [kg]\n\n"
                      "  総排気量 2000 [cc]    タイヤ 0.600\n\n  タイプ 0    空気抵抗 0.0025\n\n"
                      "  ころがり抵抗 0.2500    傾斜 0.000 [°]\n               ...\n\n"
                      "（一部、小数点以下切り捨て表記）")
            << name;
    }
}

TEST_F(DialogsTest, FileTextIsShownAsThePlainTextItIs) {
    const char* markup = "<b>Fast</b> <img src=\"title.bmp\"> &amp; <i>wide</i>";
    std::string rod = dir.read("oval.rod");
    const std::string line = "comment = Stadium oval, counter-clockwise";
    rod.replace(rod.find(line), line.size(), std::string("comment = ") + markup);
    dir.write("oval.rod", rod);
    game = std::make_unique<Game>(dir.path(), clock, events);
    game->scanFiles();

    CourseSelectionDialog dialog(*game, messages, nullptr);
    auto* comment = control<QLabel>(dialog, CourseSelectionDialog::kComment);
    EXPECT_EQ(comment->text(), markup);
    // What the label shows is what a label of plain text shows: every "<" and "&" of the file.
    auto* reference = new QLabel(QString::fromUtf8(markup), &dialog);
    reference->setTextFormat(Qt::PlainText);
    reference->setAlignment(comment->alignment());
    reference->setGeometry(comment->geometry());
    EXPECT_EQ(comment->grab().toImage(), reference->grab().toImage());

    // The same for every message box the game shows.
    QtMessageBoxes boxes;
    const std::function<void()> shows[] = {
        [&] { boxes.question(markup); },
        [&] { boxes.warningQuestion(markup); },
        [&] { boxes.information(markup); },
        [&] { boxes.message(markup, "Velnor"); },
    };
    for (const auto& show : shows) {
        whenModal([markup](QDialog& box) {
            auto* messageBox = qobject_cast<QMessageBox*>(&box);
            ASSERT_NE(messageBox, nullptr);
            EXPECT_EQ(messageBox->text(), markup);
            EXPECT_EQ(messageBox->textFormat(), Qt::PlainText);
            messageBox->button(QMessageBox::Ok)->click();
        });
        show();
    }
}

TEST_F(DialogsTest, EditFieldsOpenShowingTheStartOfTheirText) {
    ASSERT_EQ(game->carCatalogue.findCar("Tester"), 0);
    CarSpec shown = game->carCatalogue.workCar().spec();
    shown.setCarname("Tester with a name longer than its field");
    shown.setComment("a comment that is much longer than the field that shows it");
    CarSpec target = shown;
    CarSpecDialog spec(&shown, target, game->playerCar, messages, nullptr);
    RoadConditionsDialog roads(game->playerCar, messages, nullptr);
    const auto expectAtStart = [](QDialog& dialog, const char* when) {
        for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
            EXPECT_EQ(field->cursorPosition(), 0)
                << when << ": field " << field->objectName().toStdString() << " "
                << field->text().toStdString();
    };
    expectAtStart(spec, "spec dialog opened");
    expectAtStart(roads, "road conditions opened");
    click(roads, 1052); // the next entry: its stored values are shown
    expectAtStart(roads, "next entry shown");
}

// Controls are placed by the dialog templates' rule: x and width are units × base width ÷ 4, y and
// height units × base height ÷ 8, rounded to the nearest pixel (halves up). The pixels below are
// worked out for the default dialog font here, 12 pixels high with an average letter width of
// 7 pixels, so a unit is 7/4 pixel across and 3/2 pixel down.
TEST_F(DialogsTest, EveryDialogPlacesItsControlsByRoundedDialogUnits) {
    {
        QDialog probe;
        DialogLayout layout(probe);
        ASSERT_EQ(layout.x(4), 7) << "the table is worked out for a base width of 7 pixels";
        ASSERT_EQ(layout.y(8), 12) << "the table is worked out for a base height of 12 pixels";
    }
    CarSpec spec;
    CarSelectionDialog carSelection(*game, messages, nullptr);
    CourseSelectionDialog courseSelection(*game, messages, nullptr);
    CarSpecDialog carSpec(nullptr, spec, game->playerCar, messages, nullptr);
    RoadConditionsDialog roadConditions(game->playerCar, messages, nullptr);
    TransmissionDialog transmission(spec, nullptr);
    const std::map<std::string, QDialog*> dialogs = {
        {"carSelection", &carSelection}, {"courseSelection", &courseSelection},
        {"carSpec", &carSpec},           {"roadConditions", &roadConditions},
        {"transmission", &transmission},
    };
    struct Row {
        const char* dialog;
        int id; // 0: the dialog's own client area
        QRect units;
        QRect pixels;
    };
    const Row rows[] = {
        {"carSelection", 0, {0, 0, 214, 165}, {0, 0, 375, 248}},
        {"carSelection", 1041, {15, 10, 130, 95}, {26, 15, 228, 143}},
        {"carSelection", 1, {160, 10, 40, 15}, {280, 15, 70, 23}},
        {"carSelection", 2, {160, 30, 40, 15}, {280, 45, 70, 23}},
        {"carSelection", 1045, {160, 50, 40, 15}, {280, 75, 70, 23}},
        {"carSelection", 1049, {160, 70, 40, 15}, {280, 105, 70, 23}},
        {"carSelection", 1046, {160, 90, 40, 15}, {280, 135, 70, 23}},
        {"carSelection", 1047, {10, 115, 35, 12}, {18, 173, 61, 18}},
        {"courseSelection", 0, {0, 0, 214, 165}, {0, 0, 375, 248}},
        {"courseSelection", 1053, {15, 10, 130, 95}, {26, 15, 228, 143}},
        {"courseSelection", 1, {160, 10, 40, 15}, {280, 15, 70, 23}},
        {"courseSelection", 2, {160, 30, 40, 15}, {280, 45, 70, 23}},
        {"courseSelection", 1055, {15, 115, 180, 25}, {26, 173, 315, 38}},
        {"courseSelection", 1054, {15, 145, 180, 10}, {26, 218, 315, 15}},
        {"carSpec", 0, {0, 0, 215, 255}, {0, 0, 376, 383}},
        {"carSpec", 1048, {35, 10, 65, 12}, {61, 15, 114, 18}},
        {"carSpec", 1049, {135, 10, 70, 12}, {236, 15, 123, 18}},
        {"carSpec", 1003, {35, 30, 29, 12}, {61, 45, 51, 18}},
        {"carSpec", 1004, {100, 30, 29, 12}, {175, 45, 51, 18}},
        {"carSpec", 1005, {175, 30, 29, 12}, {306, 45, 51, 18}},
        {"carSpec", 1006, {50, 50, 50, 12}, {88, 75, 88, 18}},
        {"carSpec", 1016, {146, 50, 50, 12}, {256, 75, 88, 18}},
        {"carSpec", 1028, {50, 70, 50, 12}, {88, 105, 88, 18}},
        {"carSpec", 1007, {146, 70, 50, 12}, {256, 105, 88, 18}},
        {"carSpec", 1008, {50, 90, 50, 12}, {88, 135, 88, 18}},
        {"carSpec", 1009, {146, 90, 50, 13}, {256, 135, 88, 20}},
        {"carSpec", 1010, {50, 115, 40, 12}, {88, 173, 70, 18}},
        {"carSpec", 1011, {110, 115, 40, 12}, {193, 173, 70, 18}},
        {"carSpec", 1012, {171, 115, 35, 12}, {299, 173, 61, 18}},
        {"carSpec", 1013, {50, 135, 40, 12}, {88, 203, 70, 18}},
        {"carSpec", 1014, {110, 135, 40, 12}, {193, 203, 70, 18}},
        {"carSpec", 1015, {171, 135, 35, 12}, {299, 203, 61, 18}},
        {"carSpec", 1040, {50, 155, 32, 12}, {88, 233, 56, 18}},
        {"carSpec", 1023, {150, 205, 50, 12}, {263, 308, 88, 18}},
        {"carSpec", 1017, {10, 190, 48, 10}, {18, 285, 84, 15}},
        {"carSpec", 1018, {50, 190, 48, 10}, {88, 285, 84, 15}},
        {"carSpec", 1019, {85, 190, 48, 10}, {149, 285, 84, 15}},
        {"carSpec", 1024, {120, 190, 48, 10}, {210, 285, 84, 15}},
        {"carSpec", 1020, {170, 190, 48, 10}, {298, 285, 84, 15}},
        {"carSpec", 1021, {10, 205, 48, 10}, {18, 308, 84, 15}},
        {"carSpec", 1022, {50, 205, 48, 10}, {88, 308, 84, 15}},
        {"carSpec", 1025, {10, 234, 40, 15}, {18, 351, 70, 23}},
        {"carSpec", 1026, {55, 234, 40, 15}, {96, 351, 70, 23}},
        {"carSpec", 1, {120, 234, 40, 15}, {210, 351, 70, 23}},
        {"carSpec", 2, {166, 234, 40, 15}, {291, 351, 70, 23}},
        {"roadConditions", 0, {0, 0, 214, 165}, {0, 0, 375, 248}},
        {"roadConditions", 1050, {125, 10, 70, 12}, {219, 15, 123, 18}},
        {"roadConditions", 1029, {20, 50, 60, 8}, {35, 75, 105, 12}},
        {"roadConditions", 1030, {110, 50, 80, 8}, {193, 75, 140, 12}},
        {"roadConditions", 1031, {20, 65, 80, 10}, {35, 98, 140, 15}},
        {"roadConditions", 1032, {110, 65, 80, 10}, {193, 98, 140, 15}},
        {"roadConditions", 1033, {20, 80, 80, 8}, {35, 120, 140, 12}},
        {"roadConditions", 1035, {110, 80, 75, 10}, {193, 120, 131, 15}},
        {"roadConditions", 1034, {125, 95, 65, 12}, {219, 143, 114, 18}},
        {"roadConditions", 1036, {125, 125, 65, 12}, {219, 188, 114, 18}},
        {"roadConditions", 1051, {15, 145, 40, 15}, {26, 218, 70, 23}},
        {"roadConditions", 1052, {60, 145, 40, 15}, {105, 218, 70, 23}},
        {"roadConditions", 1, {115, 145, 40, 15}, {201, 218, 70, 23}},
        {"roadConditions", 2, {160, 145, 40, 15}, {280, 218, 70, 23}},
        {"transmission", 0, {0, 0, 129, 59}, {0, 0, 226, 89}},
        {"transmission", 1056, {10, 20, 45, 20}, {18, 30, 79, 30}},
        {"transmission", 1057, {70, 20, 45, 20}, {123, 30, 79, 30}},
    };
    for (const Row& row : rows) {
        QDialog& dialog = *dialogs.at(row.dialog);
        const QRect placed =
            row.id == 0 ? QRect(QPoint(0, 0), dialog.size()) : control(dialog, row.id)->geometry();
        const auto text = [](const QRect& r) {
            std::ostringstream out;
            out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
            return out.str();
        };
        EXPECT_EQ(text(placed), text(row.pixels))
            << row.dialog << " " << row.id << " at units " << text(row.units);
    }
}

TEST_F(DialogsTest, TheSpecDialogOpensLikeAnyWindow) {
    ASSERT_EQ(game->carCatalogue.findCar("Tester"), 0);
    CarSpec target = game->carCatalogue.workCar().spec();
    CarSpecDialog dialog(&game->carCatalogue.workCar().spec(), target, game->playerCar, messages,
                         nullptr);
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(control<QLineEdit>(dialog, 1048)->text(), "Tester");
}

TEST(BundledDialogsTest, TheCarSelectionOfTheBundledGame) {
    ManualClock clock;
    RaceEvents events;
    FakeMessageBoxes messages;
    auto game = std::make_unique<Game>(VELNOR_DATA, clock, events);
    game->scanFiles();
    CarSelectionDialog dialog(*game, messages, nullptr);
    dialog.show();
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    ASSERT_EQ(list->count(), game->carCatalogue.count());
    for (int i = 0; i < list->count(); ++i)
        EXPECT_EQ(list->item(i)->text().toStdString(),
                  fromShiftJis(game->carCatalogue.entry(i).name).toStdString());
    list->setCurrentRow(1);
    // The summary is painted below the list, Japanese included.
    const QImage picture = dialog.grab().toImage();
    if (const char* out = std::getenv("VELNOR_DIALOG_SCREENSHOT"))
        picture.save(out);
    bool text = false;
    for (int y = 170; y < 200 && !text; ++y)
        for (int x = 30; x < 200 && !text; ++x)
            text = qGray(picture.pixel(x, y)) < 100;
    EXPECT_TRUE(text);
}

TEST(VersionBoxTest, TheBoxAndItsIcon) {
    VersionBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("バージョン情報"));
    // 230 × 75 units of its 16-pixel font, a vertical unit two pixels; OK at (195, 6, 30, 11).
    EXPECT_EQ(box.height(), 150);
    auto* ok = control<QPushButton>(box, 1);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->y(), 12);
    EXPECT_EQ(ok->height(), 22);
    EXPECT_NEAR(ok->x(), box.width() * 195 / 230, 1);
    EXPECT_NEAR(ok->width(), box.width() * 30 / 230, 1);
    const auto* icon = box.findChild<QLabel*>();
    ASSERT_NE(icon, nullptr);
    const QImage picture = icon->pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0); // a badge with round corners
    EXPECT_GT(qRed(picture.pixel(16, 18)), 150);    // and a red car on it
    if (const char* out = std::getenv("VELNOR_VERSION_SCREENSHOT"))
        box.grab().save(out);
}

} // namespace
} // namespace velnor
