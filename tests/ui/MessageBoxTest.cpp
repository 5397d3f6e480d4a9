// The numbered message boxes read back from their windows: caption, controls
// at their dialog-unit places, texts, focus, sound and the help handler's
// calls; the top window while a box runs and after it.
#include "app/CFoldscanApp.h"
#include "host/BoxWatcher.h"
#include "resources/resource.h"
#include "ui/CHelpMessageBox.h"
#include "ui/ShowMessage.h"
#include "ui/SystemSound.h"

#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// A rectangle in the box's own dialog units, in its pixels.
RECT Pixels(HWND box, int x, int y, int width, int height) {
    RECT rect = {x, y, width, height};
    ::MapDialogRect(box, &rect);
    return {rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

struct Control {
    std::string className;
    int id;
    LONG style;
    RECT rect;  // in the box's client coordinates
    std::string text;
    bool focused;
};

// The box's controls, read while it is open; units holds rectangles in the
// box's dialog units, turned into its pixels for comparison.
std::vector<Control> ControlsOf(HWND box, std::vector<RECT> units, std::vector<RECT>& expected) {
    for (const RECT& r : units) expected.push_back(Pixels(box, r.left, r.top, r.right, r.bottom));
    std::vector<Control> controls;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        Control control{};
        char name[32] = {}, text[1024] = {};
        ::GetClassNameA(child, name, static_cast<int>(sizeof name));
        ::GetWindowTextA(child, text, static_cast<int>(sizeof text));
        control.className = name;
        control.id = ::GetDlgCtrlID(child);
        control.style = ::GetWindowLongA(child, GWL_STYLE);
        control.text = text;
        control.focused = ::GetFocus() == child;
        ::GetWindowRect(child, &control.rect);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&control.rect), 2);
        controls.push_back(control);
    }
    return controls;
}

std::vector<UINT> sounds;
void CountSound(UINT type) { sounds.push_back(type); }

struct HelpCall {
    int event, number;
    void* context;
    bool operator==(const HelpCall& other) const {
        return event == other.event && number == other.number && context == other.context;
    }
};
std::vector<HelpCall> helpCalls;
int RecordHelp(int event, int number, void* context, CHelpMessageBox*) {
    helpCalls.push_back({event, number, context});
    return 0;
}

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Initialise(::GetModuleHandleA(nullptr)));
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400,
                                  nullptr, nullptr, nullptr, nullptr);
        panel.Attach(owner);
        app.SetMainWindow(&panel);
        sounds.clear();
        helpCalls.clear();
        previousPlayer = SetSoundPlayer(CountSound);
    }
    void TearDown() override {
        SetSoundPlayer(previousPlayer);
        ::DestroyWindow(owner);
        EXPECT_EQ(boxes.Overdue(), 0);
    }

    CFoldscanApp app;
    HWND owner = nullptr;
    CWindow panel;
    BoxWatcher boxes;
    SoundPlayer previousPlayer = nullptr;
};

}  // namespace

TEST_F(MessageBoxes, AWarningWithHelpAsTheUserSeesIt) {
    int context = 0;
    app.SetHelpHandler(RecordHelp, &context);
    std::vector<Control> controls;
    std::vector<RECT> at;
    HWND focus = nullptr, shownBox = nullptr, topWhileOpen = nullptr, ownerOfBox = nullptr;
    bool ownerEnabled = true;
    boxes.SetHandler([&](const BoxWatcher::Box& box) {
        shownBox = box.window;
        controls = ControlsOf(box.window, {{7, 7, 0, 0}, {35, 7, 218, 42}, {7, 49, 50, 14}, {203, 49, 50, 14}}, at);
        focus = ::GetFocus();
        topWhileOpen = app.TopWindow() ? app.TopWindow()->Handle() : nullptr;
        ownerOfBox = ::GetWindow(box.window, GW_OWNER);
        ownerEnabled = ::IsWindowEnabled(owner) != FALSE;
        ::SendMessageA(::GetDlgItem(box.window, IDC_HELP_BUTTON), BM_CLICK, 0, 0);
        ::PostMessageA(focus, WM_KEYDOWN, VK_F1, 0x003B0001);
        ::PostMessageA(box.window, 0x004D, 0, 0);  // the system's F1 message: swallowed
        return false;
    });
    ShowWarning(app, IDS_WARN_NO_HIERARCHY);

    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "WARNUNG");
    ASSERT_EQ(controls.size(), 4u);
    const Control& icon = controls[0];
    EXPECT_EQ(icon.className, "Static");
    EXPECT_EQ(icon.id, 0xFFFF);
    EXPECT_EQ(icon.style & ~WS_GROUP, 0x50000003);
    EXPECT_EQ(icon.rect.left, at[0].left);  // the icon sizes itself
    EXPECT_EQ(icon.rect.top, at[0].top);
    const Control& label = controls[1];
    EXPECT_EQ(label.id, 0xFFFF);
    EXPECT_EQ(label.style & ~WS_GROUP, 0x50000000);
    EXPECT_EQ(label.text, Cp1252("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden."));
    EXPECT_EQ(Str(label.rect), Str(at[1]));
    const Control& close = controls[2];
    EXPECT_EQ(close.className, "Button");
    EXPECT_EQ(close.id, IDOK);
    EXPECT_EQ(close.style, 0x50010001);
    EXPECT_EQ(close.text, Cp1252("&Schließen"));
    EXPECT_EQ(Str(close.rect), Str(at[2]));
    EXPECT_TRUE(close.focused);
    const Control& help = controls[3];
    EXPECT_EQ(help.id, IDC_HELP_BUTTON);
    EXPECT_EQ(help.style, 0x50010000);
    EXPECT_EQ(help.text, "&Hilfe");
    EXPECT_EQ(Str(help.rect), Str(at[3]));

    EXPECT_EQ(topWhileOpen, shownBox);
    EXPECT_EQ(ownerOfBox, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(sounds, std::vector<UINT>{MB_ICONEXCLAMATION});
    // The help button, F1, then closing.
    EXPECT_EQ(helpCalls, (std::vector<HelpCall>{{5, IDS_WARN_NO_HIERARCHY, &context},
                                                {5, IDS_WARN_NO_HIERARCHY, &context},
                                                {0, IDS_WARN_NO_HIERARCHY, &context}}));
    EXPECT_EQ(app.TopWindow(), &panel);
    EXPECT_EQ(app.MessageNumber(), IDS_WARN_NO_HIERARCHY);
    EXPECT_TRUE(::IsWindowEnabled(owner));
}

TEST_F(MessageBoxes, WithoutAHandlerThereIsNoHelpButtonAndF1DoesNothing) {
    app.SetHelpHandler(nullptr, nullptr);
    std::vector<Control> controls;
    std::vector<RECT> at;
    bool openAfterF1 = false;
    boxes.SetHandler([&](const BoxWatcher::Box& box) {
        controls = ControlsOf(box.window, {}, at);
        ::SendMessageA(::GetFocus(), WM_KEYDOWN, VK_F1, 0x003B0001);
        openAfterF1 = ::IsWindow(box.window) != FALSE;
        return false;
    });
    ShowError(app, IDS_ERROR_RATE);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "FEHLER");
    EXPECT_EQ(boxes.Seen()[0].text, Cp1252("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."));
    EXPECT_EQ(controls.size(), 3u);
    for (const Control& control : controls) EXPECT_NE(control.id, IDC_HELP_BUTTON);
    EXPECT_TRUE(openAfterF1);
    EXPECT_EQ(sounds, std::vector<UINT>{MB_ICONHAND});
}

TEST_F(MessageBoxes, KindsWithoutIconStartTheTextAtTheMarginAndStaySilent) {
    for (int kind : {0, 3, 7}) {
        sounds.clear();
        std::vector<Control> controls;
        std::vector<RECT> at;
        boxes.SetHandler([&](const BoxWatcher::Box& box) {
            controls = ControlsOf(box.window, {{7, 7, 246, 42}}, at);
            return false;
        });
        CHelpMessageBox box(owner, "Text & mehr", nullptr, static_cast<MessageBoxKind>(kind));
        EXPECT_EQ(app.RunModal(box), IDOK);
        ASSERT_FALSE(controls.empty());
        if (kind == 3) {
            EXPECT_EQ(controls.size(), 3u);  // the information icon
            EXPECT_EQ(sounds, std::vector<UINT>{MB_ICONASTERISK});
            continue;
        }
        EXPECT_EQ(controls.size(), 2u) << kind;
        EXPECT_EQ(Str(controls[0].rect), Str(at[0])) << kind;
        EXPECT_TRUE(sounds.empty()) << kind;
        EXPECT_EQ(boxes.Seen().back().caption, "");
    }
}

TEST_F(MessageBoxes, AnIdWithoutTextShowsAnEmptyBoxOfItsKind) {
    boxes.SetHandler(nullptr);
    ShowWarning(app, 2999);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "");
    EXPECT_EQ(boxes.Seen()[0].caption, "WARNUNG");
    EXPECT_EQ(app.MessageNumber(), 2999);
}
