// What the logic sets and reads of the window's controls, held as data: the status bar's
// panels, menu items, the browser's buttons and a text box. A window shows them; the tool
// and the tests read them.
#pragma once

#include "platform/Color.h"

#include <QString>
#include <array>
#include <cstddef>

// The status bar's seven panels, addressed from 1. Time and Date show the clock by
// themselves (a window's own business); the program writes the other five.
enum class StatusPanel : int { Time = 1, Date, ObjectPoints, ViewName, Position, LastObject, SavedPath };

class StatusPanels {
public:
    static constexpr int Count = 7;
    const QString& text(StatusPanel panel) const { return texts_[index(panel)]; }
    void setText(StatusPanel panel, const QString& text) { texts_[index(panel)] = text; }

private:
    static std::size_t index(StatusPanel panel) { return std::size_t(int(panel) - 1); }
    std::array<QString, Count> texts_{};
};

// A menu item as the logic knows it: caption, tag (a recent item's path), check mark and
// visibility. Items the logic never changes keep their window's caption.
struct MenuItem {
    QString Caption;
    QString Tag;
    bool Checked = false;
    bool Visible = true;
};

// A picture button of the browser: caption, background colour, visibility.
struct BrowserButton {
    static constexpr ColorRef UnmarkedGrey = 0x808080;
    QString Caption;
    ColorRef BackColor = UnmarkedGrey;
    bool Visible = false;
};

// A text box the logic writes and never reads back.
struct TextBox {
    QString Text;
};
