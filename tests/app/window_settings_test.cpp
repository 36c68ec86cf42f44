#include "app/dialog_layout.h"
#include "app/fakes.h"
#include "app/key_dialog.h"
#include "app/main_window.h"
#include "app/panel_widget.h"
#include "app/pictures.h"
#include "app/race_setup.h"
#include "app/settings_file.h"
#include "app/volume_dialog.h"
#include "game_test_access.h"
#include "hud/instrument_panel.h"
#include "hud/race_panels.h"
#include "test_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace velnor {
namespace {

using test::differences;
using test::FakeMessageBoxes;
using test::FakeMusicPlayer;
using test::grabbed;
using test::HandClock;

constexpr int kAccel = 0, kBrake = 1;

QWidget* control(QWidget* dialog, int id) {
    return DialogLayout::control(*dialog, id);
}

// The window with the settings file under a temporary XDG_CONFIG_HOME.
class WindowSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(VELNOR_FIXTURES "/race", game.path(),
                              std::filesystem::copy_options::recursive);
        had_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
        file = std::make_unique<SettingsFile>(SettingsFile::standardPath());
    }
    void TearDown() override {
        messages.answers.assign(10, true);
        window.reset();
        if (had_)
            qputenv("XDG_CONFIG_HOME", saved_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    // A new start of the game: a window that takes the settings file and shows itself.
    void start() {
        window.reset();
        window = std::make_unique<MainWindow>(game.path(), clock, messages, player, setup);
        window->setSoundOutput(sound);
        window->showWithSettings(*file);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void passes(int count, int ms = 10) {
        for (int i = 0; i < count; ++i) {
            clock.advance(ms);
            window->idlePass();
        }
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }

    // Runs `command`, which opens a dialog of type `Dialog`; `answer` works the dialog as the
    // player would once it is up.
    template <typename Dialog>
    void withDialog(const std::function<void()>& command,
                    const std::function<void(Dialog&)>& answer) {
        bool answered = false;
        std::function<void()> poll = [&] {
            auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(10, poll);
                return;
            }
            answered = true;
            answer(*dialog);
        };
        QTimer::singleShot(10, poll);
        command();
        EXPECT_TRUE(answered);
    }
    void withKeyDialog(const std::function<void()>& command,
                       const std::function<void(KeyDialog&)>& answer) {
        withDialog<KeyDialog>(command, answer);
    }

    test::TempDir game;
    test::TempDir config;
    std::unique_ptr<SettingsFile> file;
    HandClock clock;
    FakeMessageBoxes messages;
    FakeMusicPlayer player;
    test::RecordingSoundOutput sound;
    FirstCarAndCourse setup;
    std::unique_ptr<MainWindow> window;

private:
    bool had_ = false;
    QByteArray saved_;
};

TEST_F(WindowSettingsTest, TheSettingsMenuBetweenGameAndHelp) {
    start();
    QStringList texts;
    for (QAction* menu : window->menuBar()->actions())
        texts << menu->text();
    EXPECT_EQ(texts, (QStringList{QString::fromUtf8("ゲーム(&G)"), QString::fromUtf8("設定(&O)"),
                                  QString::fromUtf8("ヘルプ(&H)")}));
    QStringList items;
    for (QAction* item : window->menuBar()->actions()[1]->menu()->actions())
        items << item->text() + "\t" + item->shortcut().toString();
    EXPECT_EQ(items,
              (QStringList{QString::fromUtf8("キー設定(&K)...\t"),
                           QString::fromUtf8("全画面表示(&F)\tF11"),
                           QString::fromUtf8("フォーカスを失ったら一時停止(&P)\t"), "\t",
                           QString::fromUtf8("ゴーストとの差を表示(&G)\t"),
                           QString::fromUtf8("スプリットを表示(&L)\t"), "\t",
                           QString::fromUtf8("音量(&V)...\t"), QString::fromUtf8("消音(&M)\t")}));
}

// The pause on losing the focus, off by default, is kept in the settings file when the window
// closes and comes back checked at the next start; a bad line of [race] leaves it off.
TEST_F(WindowSettingsTest, ThePauseOnFocusLossIsKept) {
    const auto option = [this] {
        for (QAction* item : window->menuBar()->actions()[1]->menu()->actions())
            if (item->text() == QString::fromUtf8("フォーカスを失ったら一時停止(&P)"))
                return item;
        return static_cast<QAction*>(nullptr);
    };
    start();
    ASSERT_NE(option(), nullptr);
    EXPECT_FALSE(option()->isChecked());
    option()->trigger();
    window->close();
    EXPECT_NE(config.read("velnor/velnor.ini").find("[race]\npause_on_focus_loss=true\n"),
              std::string::npos);
    start();
    EXPECT_TRUE(window->pauseOnFocusLoss());
    EXPECT_TRUE(option()->isChecked());
    option()->trigger();
    window->close();
    start();
    EXPECT_FALSE(window->pauseOnFocusLoss());

    config.write("velnor/velnor.ini", "[race]\npause_on_focus_loss=sometimes\n");
    start();
    EXPECT_FALSE(window->pauseOnFocusLoss());
    EXPECT_FALSE(option()->isChecked());
}

// F11 goes to full screen and back to the window as it was, maximised or not.
TEST_F(WindowSettingsTest, F11TogglesFullScreen) {
    start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const bool maximized : {false, true}) {
        SCOPED_TRACE(maximized ? "maximised" : "normal");
        window->setWindowState(maximized ? Qt::WindowMaximized : Qt::WindowNoState);
        settle();
        QTest::keyClick(window.get(), Qt::Key_F11);
        EXPECT_TRUE(window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_F11);
        EXPECT_FALSE(window->isFullScreen());
        EXPECT_EQ(window->isMaximized(), maximized);
    }
}

// The window's size, position and full screen come back at the next start; a geometry off every
// screen gives the default 640 x 480.
TEST_F(WindowSettingsTest, TheWindowComesBackAsItWasLeft) {
    start();
    EXPECT_EQ(window->size(), QSize(640, 480)); // no file yet: the default
    const QRect where(120, 90, 720, 540);
    window->setGeometry(where);
    settle();
    ASSERT_EQ(window->geometry(), where);
    window->close();
    start();
    EXPECT_EQ(window->geometry(), where);
    EXPECT_FALSE(window->isFullScreen());

    window->toggleFullScreen();
    window->close();
    start();
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(window->normalGeometry(), where);
    window->toggleFullScreen();
    EXPECT_FALSE(window->isFullScreen());
    window->close();

    config.write("velnor/velnor.ini", "[window]\nx=5000\ny=4000\nwidth=800\nheight=600\n");
    start();
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_TRUE(messages.shown.empty());
}

// A broken file is told in a box that does not hold the game: the race starts and runs while it
// is open.
TEST_F(WindowSettingsTest, ABrokenFileIsToldWithoutHoldingTheGame) {
    config.write("velnor/velnor.ini", "[keys]\nflyaway=Q\nbrake=A\n");
    start();
    settle();
    QMessageBox* box = nullptr;
    for (QMessageBox* b : window->findChildren<QMessageBox*>())
        if (b->isVisible())
            box = b;
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_TRUE(box->text().contains(QString::fromUtf8("2 行目: 知らない操作「flyaway」です")))
        << box->text().toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window->bindings().key[kBrake], Qt::Key_A);

    window->startCommand();
    ASSERT_EQ(window->game().gameState(), GameState::kRacing);
    passes(500);
    EXPECT_GT(readingsOf(window->game()).raceTime, 1000);
}

// The dialog shows every action with its key and button; a row chosen and a key pressed gives
// the key to that action.
TEST_F(WindowSettingsTest, TheKeyDialogAssignsKeysAndButtons) {
    KeyDialog dialog(Bindings::standard(), messages, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* table = static_cast<QTableWidget*>(control(&dialog, KeyDialog::kTable));
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->item(row, 0)->text() + "|" + table->item(row, 1)->text() + "|" +
                    table->item(row, 2)->text();
    EXPECT_EQ(rows, (QStringList{
                        QString::fromUtf8("アクセル|X|A"),
                        QString::fromUtf8("ブレーキ|Z|B"),
                        QString::fromUtf8("左へ|Left|十字キー左"),
                        QString::fromUtf8("右へ|Right|十字キー右"),
                        QString::fromUtf8("シフトアップ|Up|右ショルダー (RB)"),
                        QString::fromUtf8("シフトダウン|Down|左ショルダー (LB)"),
                        QString::fromUtf8("視点の切り替え|Space|Y"),
                        QString::fromUtf8("マウスカーソルの表示/非表示|Del|なし"),
                        QString::fromUtf8("ゴーストカーの保存|S|X"),
                        QString::fromUtf8("やり直し|R|Back"),
                        QString::fromUtf8("一時停止|P|Start"),
                        QString::fromUtf8("消音|M|なし"),
                    }));
    EXPECT_FALSE(table->verticalScrollBar()->isVisible()); // every row shown at once

    // Brake's row clicked: the key field takes the next key.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(kBrake, 0)).center());
    auto* field = control(&dialog, KeyDialog::kKeyField);
    EXPECT_EQ(dialog.focusWidget(), field);
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(dialog.bindings().key[kBrake], Qt::Key_A);
    EXPECT_EQ(table->item(kBrake, 1)->text(), "A");
    EXPECT_TRUE(messages.shown.empty());

    // Its pad button from the list: "なし", then the left stick.
    auto* pad = static_cast<QComboBox*>(control(&dialog, KeyDialog::kPadList));
    EXPECT_EQ(pad->count(), 22);
    EXPECT_EQ(pad->currentText(), "B");
    pad->setCurrentIndex(8);
    emit pad->activated(8);
    EXPECT_EQ(dialog.bindings().padButton[kBrake], 7);
    EXPECT_EQ(table->item(kBrake, 2)->text(), QString::fromUtf8("左スティック押し込み"));
    // The accelerator's key to Z, which brake has no more.
    dialog.choose(Action::kAccelerator);
    QTest::keyClick(field, Qt::Key_Z);
    EXPECT_EQ(dialog.bindings().key[kAccel], Qt::Key_Z);
    EXPECT_TRUE(messages.shown.empty());

    // In the table ↓ chooses the next row and a key is that row's; ↓ is no key given.
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(dialog.chosen(), Action::kBrake);
    QTest::keyClick(table, Qt::Key_Right); // refused: steering right's
    EXPECT_EQ(dialog.bindings().key[kBrake], Qt::Key_A);
    EXPECT_EQ(messages.shown.size(), 1u);
    QTest::keyClick(table, Qt::Key_Q);
    EXPECT_EQ(dialog.bindings().key[kBrake], Qt::Key_Q);
    EXPECT_EQ(dialog.bindings().key[kAccel], Qt::Key_Z);
    EXPECT_EQ(dialog.bindings().key[4], Qt::Key_Up);
    EXPECT_EQ(dialog.bindings().key[5], Qt::Key_Down);
}

// A key or button another action has, and the keys the game keeps, are refused with a message
// that says why; nothing changes.
TEST_F(WindowSettingsTest, TheKeyDialogRefusesTakenAndKeptKeys) {
    start();
    struct Row {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"another action's key", Qt::Key_X, Qt::NoModifier,
         "  キー X はすでに「アクセル」に割り当てられています。"},
        {"another action's key, Space", Qt::Key_Space, Qt::NoModifier,
         "  キー Space はすでに「視点の切り替え」に割り当てられています。"},
        {"F2", Qt::Key_F2, Qt::NoModifier,
         "  F2 はゲームが使うキーです。\n別のキーを選んでください。"},
        {"F3", Qt::Key_F3, Qt::NoModifier,
         "  F3 はゲームが使うキーです。\n別のキーを選んでください。"},
        {"F11", Qt::Key_F11, Qt::NoModifier,
         "  F11 はゲームが使うキーです。\n別のキーを選んでください。"},
        {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier,
         "  Alt、Ctrl と組み合わせたキーはメニューが使います。\n別のキーを選んでください。"},
        {"Alt+Q", Qt::Key_Q, Qt::AltModifier,
         "  Alt、Ctrl と組み合わせたキーはメニューが使います。\n別のキーを選んでください。"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        withKeyDialog([&] { window->keySettingsCommand(); },
                      [&](KeyDialog& dialog) {
                          dialog.choose(Action::kBrake);
                          QTest::keyClick(control(&dialog, KeyDialog::kKeyField), row.key,
                                          row.modifiers);
                          EXPECT_EQ(dialog.bindings().key[kBrake], Qt::Key_Z);
                          dialog.accept();
                      });
        EXPECT_EQ(messages.shown, std::vector<std::string>{row.message});
        EXPECT_EQ(window->bindings().key, Bindings::standard().key);
        EXPECT_EQ(window->game().gameState(), GameState::kTitle); // F2 started nothing
    }
    // Brake's pad button to A, the accelerator's: refused, and the list shows B again.
    messages.shown.clear();
    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      dialog.choose(Action::kBrake);
                      auto* pad = static_cast<QComboBox*>(control(&dialog, KeyDialog::kPadList));
                      pad->setCurrentIndex(1);
                      emit pad->activated(1);
                      EXPECT_EQ(pad->currentText(), "B");
                      dialog.accept();
                  });
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{
                  "  パッドのボタン A はすでに「アクセル」に割り当てられています。"});
    EXPECT_EQ(window->bindings().padButton, Bindings::standard().padButton);
}

// OK assigns the dialog's keys and writes them; ｷｬﾝｾﾙ (and Esc) change nothing; "標準に戻す"
// puts the standard keys back in the dialog.
TEST_F(WindowSettingsTest, OkCancelAndTheStandardAssignment) {
    start();
    const auto assignBrakeA = [&](KeyDialog& dialog) {
        dialog.choose(Action::kBrake);
        QTest::keyClick(control(&dialog, KeyDialog::kKeyField), Qt::Key_A);
    };
    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      assignBrakeA(dialog);
                      static_cast<QPushButton*>(control(&dialog, 2))->click();
                  });
    EXPECT_EQ(window->bindings().key[kBrake], Qt::Key_Z);
    EXPECT_FALSE(std::filesystem::exists(config.file("velnor/velnor.ini")));
    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      assignBrakeA(dialog);
                      QTest::keyClick(control(&dialog, KeyDialog::kKeyField), Qt::Key_Escape);
                  });
    EXPECT_EQ(window->bindings().key[kBrake], Qt::Key_Z);

    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      assignBrakeA(dialog);
                      static_cast<QPushButton*>(control(&dialog, 1))->click();
                  });
    EXPECT_EQ(window->bindings().key[kBrake], Qt::Key_A);
    EXPECT_NE(config.read("velnor/velnor.ini").find("brake=A\n"), std::string::npos);

    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      EXPECT_EQ(dialog.bindings().key[kBrake], Qt::Key_A);
                      static_cast<QPushButton*>(control(&dialog, KeyDialog::kStandard))->click();
                      EXPECT_EQ(dialog.bindings().key, Bindings::standard().key);
                      auto* table = static_cast<QTableWidget*>(control(&dialog, KeyDialog::kTable));
                      EXPECT_EQ(table->item(kBrake, 1)->text(), "Z");
                      QTest::keyClick(control(&dialog, KeyDialog::kKeyField), Qt::Key_Return);
                  });
    EXPECT_EQ(window->bindings().key, Bindings::standard().key);
    EXPECT_NE(config.read("velnor/velnor.ini").find("brake=Z\n"), std::string::npos);
}

// Opened in a race: the clock holds and the keys held are let go; the new key drives at once.
TEST_F(WindowSettingsTest, KeysAssignedDuringARace) {
    start();
    window->startCommand();
    passes(400);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &down);
    passes(1, 1); // a key counts from the pass of its millisecond
    ASSERT_TRUE(window->keys().isDown(vk::kX));
    const std::int32_t before = readingsOf(window->game()).raceTime;
    withKeyDialog([&] { window->keySettingsCommand(); },
                  [&](KeyDialog& dialog) {
                      clock.advance(5000); // the player takes a while
                      dialog.choose(Action::kAccelerator);
                      QTest::keyClick(control(&dialog, KeyDialog::kKeyField), Qt::Key_A);
                      dialog.accept();
                  });
    EXPECT_FALSE(window->keys().isDown(vk::kX));
    passes(1, 1);
    EXPECT_LE(readingsOf(window->game()).raceTime, before + 20);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &a);
    passes(1, 1);
    EXPECT_TRUE(window->keys().isDown(vk::kX)); // the accelerator's key in the ghost files
}

// The title and the race follow the client area's size whatever changed it: here the client
// area alone, as a menu bar grown to two lines does, or a window manager whose resize of the
// window comes before that of its client area.
TEST_F(WindowSettingsTest, TheClientAreaResizedAloneIsFollowed) {
    start();
    window->client()->resize(500, 300);
    EXPECT_EQ(window->mainCanvas().clientSize(), QSize(500, 300));
    EXPECT_EQ(differences(window->mainCanvas().image().copy(0, 0, 500, 300),
                          test::referenceTitle(game.path(), QSize(500, 300)), QSize(500, 300), 1),
              0);
    window->startCommand();
    passes(10);
    window->client()->resize(520, 330);
    const qreal r = window->devicePixelRatioF();
    EXPECT_EQ(window->game().camera().viewport()[2], qRound(520 * r));
    EXPECT_EQ(window->instrumentPanel()->geometry(), QRect(0, 240, 520, 90));
}

// The panels keep their places when the window is resized while racing and after the finish:
// the lap and result panels centred above the instrument panel, which spans the bottom; each
// shows what was drawn for it, and the 3D view's viewport fills the area above the panel.
TEST_F(WindowSettingsTest, PanelsFollowTheWindowSizeInEveryState) {
    start();
    window->startCommand();
    Game& g = window->game();
    passes(400);
    const auto driveLap = [&] {
        for (const float x : {-50.0f, 0.0f}) {
            const Vec3 at = g.playerModel().position();
            GameTestAccess::playerModel(g).moveParts(x - at[0], -at[1], 0);
            GameTestAccess::course(g).world.moveCar(x - at[0], -at[1], 0);
            passes(1);
        }
    };
    const auto checkPlaces = [&](QSize client) {
        EXPECT_EQ(window->client()->size(), client);
        const int w = client.width();
        const int h = client.height();
        EXPECT_EQ(window->instrumentPanel()->geometry(), QRect(0, h - 90, w, 90));
        EXPECT_EQ(window->lapPanel()->geometry(), QRect(w / 2 - 50, (h - 90) / 2 - 16, 100, 32));
        EXPECT_EQ(window->resultPanel()->geometry(),
                  QRect(w / 2 - 50, (h - 90) / 2 - 69, 100, 138));
        const qreal r = window->devicePixelRatioF();
        const auto& viewport = g.camera().viewport();
        EXPECT_EQ(viewport[1], qRound(90 * r));
        EXPECT_EQ(viewport[2], qRound(w * r));
        EXPECT_EQ(viewport[3], qRound(h * r));
    };
    const QSize frame = window->size() - window->client()->size(); // the menu bar
    driveLap();
    settle();
    ASSERT_TRUE(window->lapPanel()->isVisible());
    window->resize(QSize(900, 640) + frame);
    settle();
    checkPlaces(QSize(900, 640));
    Canvas lap;
    lap.create(QSize(100, 32));
    drawLapPanel(lap, g.raceClock());
    EXPECT_EQ(differences(grabbed(window->lapPanel()), lap.image(), QSize(100, 32),
                          window->devicePixelRatioF()),
              0);

    passes(400);
    driveLap();
    passes(400);
    driveLap();
    settle();
    ASSERT_EQ(g.gameState(), GameState::kFinished);
    window->resize(QSize(560, 420) + frame);
    settle();
    checkPlaces(QSize(560, 420));
    Canvas result;
    result.create(QSize(100, 138));
    drawResultPanel(result, g.raceClock(), g.finishRank());
    EXPECT_EQ(differences(grabbed(window->resultPanel()), result.image(), QSize(100, 138),
                          window->devicePixelRatioF()),
              0);
    // The instrument panel is drawn for its new width at once, before any pass.
    Canvas instruments;
    instruments.create(QSize(560, 90));
    drawInstrumentPanel(instruments, readingsOf(g));
    EXPECT_EQ(differences(grabbed(window->instrumentPanel()), instruments.image(), QSize(560, 90),
                          window->devicePixelRatioF()),
              0);
}

// The volumes and the mute come from the settings file. M mutes the music and the sounds in
// every state, and the menu's item says so; the volume dialog is heard as its sliders move, its
// ｷｬﾝｾﾙ puts back what was heard, its OK keeps the new volumes in the file for the next start.
TEST_F(WindowSettingsTest, TheVolumesAndTheMute) {
    config.write("velnor/velnor.ini", "[sound]\nmusic_volume=40\nsound_volume=70\n");
    start();
    EXPECT_FLOAT_EQ(player.volume, 0.4f);
    EXPECT_FLOAT_EQ(sound.volume, 0.7f);
    EXPECT_FALSE(sound.muted);
    QAction* muteItem = nullptr;
    for (QAction* item : window->menuBar()->actions()[1]->menu()->actions())
        if (item->text() == QString::fromUtf8("消音(&M)"))
            muteItem = item;
    ASSERT_TRUE(muteItem);
    EXPECT_FALSE(muteItem->isChecked());

    QTest::keyClick(window.get(), Qt::Key_M); // at the title
    EXPECT_TRUE(sound.muted);
    EXPECT_EQ(player.volume, 0.0f);
    EXPECT_FLOAT_EQ(sound.volume, 0.7f); // kept for when it is heard again
    EXPECT_TRUE(muteItem->isChecked());
    muteItem->trigger();
    EXPECT_FALSE(sound.muted);
    EXPECT_FLOAT_EQ(player.volume, 0.4f);

    const auto slide = [](VolumeDialog& dialog, int id, int value) {
        static_cast<QSlider*>(control(&dialog, id))->setValue(value);
    };
    withDialog<VolumeDialog>([&] { window->volumeCommand(); },
                             [&](VolumeDialog& dialog) {
                                 slide(dialog, VolumeDialog::kMusicSlider, 80);
                                 slide(dialog, VolumeDialog::kSoundSlider, 30);
                                 EXPECT_FLOAT_EQ(player.volume, 0.8f); // heard at once
                                 EXPECT_FLOAT_EQ(sound.volume, 0.3f);
                                 ASSERT_EQ(sound.cues.size(),
                                           1u); // a beep to hear the sounds' new volume by
                                 EXPECT_EQ(sound.cues[0].cue, Cue::kCountBeep);
                                 QTest::keyClick(&dialog, Qt::Key_Escape);
                             });
    EXPECT_FLOAT_EQ(player.volume, 0.4f);
    EXPECT_FLOAT_EQ(sound.volume, 0.7f);
    EXPECT_EQ(window->soundSettings(), (SoundSettings{40, 70, false}));

    withDialog<VolumeDialog>(
        [&] { window->volumeCommand(); },
        [&](VolumeDialog& dialog) {
            slide(dialog, VolumeDialog::kMusicSlider, 80);
            slide(dialog, VolumeDialog::kSoundSlider, 30);
            static_cast<QCheckBox*>(control(&dialog, VolumeDialog::kMuteBox))->setChecked(true);
            EXPECT_EQ(player.volume, 0.0f);
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
    EXPECT_TRUE(sound.muted);
    EXPECT_TRUE(muteItem->isChecked());
    EXPECT_NE(config.read("velnor/velnor.ini")
                  .find("[sound]\nmusic_volume=80\nmuted=true\nsound_volume=30\n"),
              std::string::npos)
        << config.read("velnor/velnor.ini");

    start(); // the next start hears it as it was left
    EXPECT_EQ(window->soundSettings(), (SoundSettings{80, 30, true}));
    EXPECT_EQ(player.volume, 0.0f);
    EXPECT_TRUE(sound.muted);
    EXPECT_FLOAT_EQ(sound.volume, 0.3f);
}

} // namespace
} // namespace velnor
