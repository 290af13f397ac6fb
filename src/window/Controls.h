// Small controls of the main window: the seven-panel status bar, the picture buttons of the
// browser and the two-tab control whose pages place their children at fixed twips.
#pragma once

#include "platform/Color.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <array>
#include <optional>
#include <vector>

// Seven panels addressed from 1. Panels 1 and 2 show the current time and date and keep
// them up to date by themselves; the program writes the text panels 3 to 7. Panels 1 to 6
// keep their widths (a longer text is cut); panel 7, the last saved path, takes the rest of
// the bar, so that no text can widen the window or shift a panel.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent);
    QString panelText(int panel) const { return panels_.at(std::size_t(panel - 1))->text(); }
    void setPanelText(int panel, const QString& text);

private:
    void tick();
    std::array<QLabel*, 7> panels_{};
    QTimer clock_;
};

// A button with a caption and a background colour of its own.
class PictureButton : public QPushButton {
    Q_OBJECT
public:
    PictureButton(QWidget* parent, const QIcon& icon);
    ColorRef BackColor() const { return back_; }
    void setBackColor(ColorRef color);

private:
    ColorRef back_ = 0x808080;
};

// A tab control: a tab bar along the top and one page per tab, each page covering the whole
// control so that its children sit at the control's own coordinates.
class TabControl : public QWidget {
    Q_OBJECT
public:
    TabControl(QWidget* parent, const QStringList& captions, ColorRef back);
    QWidget* page(int tab) const { return pages_.at(std::size_t(tab)); }
    int currentTab() const { return bar_->currentIndex(); }
    void setCurrentTab(int tab) { bar_->setCurrentIndex(tab); }
    QTabBar* tabBar() const { return bar_; }

protected:
    void resizeEvent(QResizeEvent*) override { showPage(currentTab()); }

private:
    void showPage(int tab);
    QTabBar* bar_;
    std::vector<QWidget*> pages_;
};

// Places a widget at a twip rectangle of its parent (15 twips to a pixel).
void placeTwips(QWidget* widget, float left, float top, float width, float height);
// Gives a widget a solid background (and optionally text) colour.
void setColors(QWidget* widget, ColorRef back, std::optional<ColorRef> text = std::nullopt);
