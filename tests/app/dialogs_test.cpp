#include "app/car_selection_dialog.h"
#include "app/car_spec_dialog.h"
#include "app/course_selection_dialog.h"
#include "app/dialog_layout.h"
#include "app/fakes.h"
#include "app/road_conditions_dialog.h"
#include "app/text_codec.h"
#include "app/transmission_dialog.h"
#include "app/version_box.h"
#include "platform/tick_clock.h"
#include "race/game.h"
#include "test_dir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

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
    game->ghostEnabled = 0;
    CarSelectionDialog dialog(*game, messages, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("自動車の選択"));
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    EXPECT_EQ(rows(list), (QStringList{"Slowpoke", "Tester"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(game->ghostEnabled, 1); // opening switches it on again
    for (const int id : {CarSelectionDialog::kNew, CarSelectionDialog::kEdit,
                         CarSelectionDialog::kDelete, CarSelectionDialog::kNote})
        EXPECT_FALSE(control(dialog, id)->isVisibleTo(&dialog)) << id;

    list->setCurrentRow(1);
    pressKey(list, Qt::Key_G);
    pressKey(list, Qt::Key_G);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"i ゴーストカーを表示しません",
                                                        "i ゴーストカーを表示します"}));
    EXPECT_EQ(game->ghostEnabled, 1);
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

TEST_F(DialogsTest, AFailedWriteIsReportedWithTheFile) {
    CarSelectionDialog dialog(*game, messages, nullptr);
    auto* list = control<QListWidget>(dialog, CarSelectionDialog::kList);
    list->setCurrentRow(1);
    const std::string before = dir.read("cars.car");
    {
        test::FileSizeLimit full(8);
        click(dialog, CarSelectionDialog::kDelete);
    }
    EXPECT_EQ(messages.shown.back(), "  ファイル cars.car に書き込めません");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(dir.read("cars.car"), before);
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
    EXPECT_EQ(game->selectedCourse, 0);
    EXPECT_EQ(game->courseBest[0].totalTime(), 83456);
    EXPECT_TRUE(game->course.world.roadPiece(0).isUsed());
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
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);   // a badge with round corners
    EXPECT_GT(qRed(picture.pixel(16, 18)), 150);       // and a red car on it
    if (const char* out = std::getenv("VELNOR_VERSION_SCREENSHOT"))
        box.grab().save(out);
}

} // namespace
} // namespace velnor
