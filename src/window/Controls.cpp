// The status bar's clock panels, the coloured picture buttons and the tab control's pages.
#include "window/Controls.h"

#include "platform/Twips.h"

#include <QDateTime>
#include <QLocale>

void placeTwips(QWidget* widget, float left, float top, float width, float height)
{
    widget->setGeometry(widgetPixels(left, PixelRounding::Nearest), widgetPixels(top, PixelRounding::Nearest),
                        widgetPixels(width, PixelRounding::Nearest), widgetPixels(height, PixelRounding::Nearest));
}

void setColors(QWidget* widget, ColorRef back, std::optional<ColorRef> text)
{
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, toQColor(back));
    if (text) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, toQColor(*text));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

namespace {
constexpr std::array<float, 7> PanelWidths = {1440, 1440, 2000, 2000, 1440, 2000, 4000}; // twips
constexpr std::size_t LastPanel = 6;
} // namespace

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* label = new QLabel(this);
        // Panels show paths and typed text, which must never be taken for markup.
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == LastPanel)
            label->setMinimumWidth(widgetPixels(PanelWidths[i], PixelRounding::Holding));
        else
            label->setFixedWidth(widgetPixels(PanelWidths[i], PixelRounding::Holding));
        panels_[i] = label;
        addPermanentWidget(label, i == LastPanel ? 1 : 0);
    }
    connect(&clock_, &QTimer::timeout, this, &StatusBar::tick);
    clock_.start(1000);
    tick();
}

void StatusBar::setPanelText(int panel, const QString& text)
{
    panels_.at(std::size_t(panel - 1))->setText(text);
}

void StatusBar::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    panels_[0]->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
    panels_[1]->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
}

PictureButton::PictureButton(QWidget* parent, const QIcon& icon) : QPushButton(parent)
{
    setIcon(icon);
    setBackColor(back_);
}

void PictureButton::setBackColor(ColorRef color)
{
    back_ = color;
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: white; text-align: left; border: 1px solid black; }")
                      .arg(toQColor(color).name()));
}

TabControl::TabControl(QWidget* parent, const QStringList& captions, ColorRef back)
    : QWidget(parent), bar_(new QTabBar(this))
{
    setColors(this, back);
    for (const QString& caption : captions) {
        bar_->addTab(caption);
        auto* page = new QWidget(this);
        page->setGeometry(0, 0, 0, 0);
        pages_.push_back(page);
    }
    bar_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    connect(bar_, &QTabBar::currentChanged, this, &TabControl::showPage);
    showPage(bar_->currentIndex());
}

void TabControl::showPage(int tab)
{
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setGeometry(rect());
        pages_[i]->setVisible(int(i) == tab);
    }
    bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    bar_->raise();
}
