#include "ui/widgets.hpp"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>

#include "ui/window_metrics.hpp"

namespace oradel {
namespace {

// A line along the top edge of its rectangle, drawn sunken.
class BevelLine final : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, 1, width() - 1, 1);
    }
};

QString Caption(const ControlRow& row) {
    return QString::fromUtf8(row.caption.data(), static_cast<qsizetype>(row.caption.size()));
}

QWidget* NewSpeedButton(const ControlRow& row, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(Caption(row));
    button->setAutoRaise(true);
    return button;
}

QWidget* NewLabel(const ControlRow& row, QWidget* parent) {
    auto* label = new QLabel(Caption(row), parent);
    label->setTextFormat(Qt::PlainText);
    if (row.style & kCentred) label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

QWidget* NewPanel(QWidget* parent) {
    // A raised outer and a lowered inner bevel, one pixel each.
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Box | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setMidLineWidth(0);
    return panel;
}

QWidget* NewMemo(QWidget* parent) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return memo;
}

QWidget* NewOfType(const ControlRow& row, QWidget* parent) {
    switch (row.type) {
        case ControlType::SpeedButton:
            return NewSpeedButton(row, parent);
        case ControlType::Label:
            return NewLabel(row, parent);
        case ControlType::Bevel:
            return new BevelLine(parent);
        case ControlType::CheckBox:
            return new QCheckBox(Caption(row), parent);
        case ControlType::Panel:
            return NewPanel(parent);
        case ControlType::Edit:
            return new QLineEdit(parent);
        case ControlType::Memo:
            return NewMemo(parent);
    }
    return nullptr;
}

QColor ColourOf(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

void ApplyStyle(const ControlRow& row, QWidget& control) {
    QFont font = control.font();
    font.setBold(row.style & kBold);
    font.setItalic(row.style & kItalic);
    control.setFont(font);
    QPalette palette = control.palette();
    if (row.textColour) {
        palette.setColor(QPalette::WindowText, ColourOf(*row.textColour));
        palette.setColor(QPalette::ButtonText, ColourOf(*row.textColour));
    }
    if (row.background) palette.setColor(QPalette::Base, ColourOf(*row.background));
    control.setPalette(palette);
    if (row.style & kCaptionLeft) control.setLayoutDirection(Qt::RightToLeft);
    if (!row.hint.empty()) {
        control.setToolTip(
            QString::fromUtf8(row.hint.data(), static_cast<qsizetype>(row.hint.size())));
    }
    if (!row.takesFocus) control.setFocusPolicy(Qt::NoFocus);
}

void Place(const ControlRow& row, QWidget& control) {
    QSize size(Scaled(row.width), Scaled(row.height));
    if (row.width == 0 || row.height == 0) {
        const QSize fitting = control.sizeHint();
        if (row.width == 0) size.setWidth(fitting.width());
        if (row.height == 0) size.setHeight(fitting.height());
    }
    control.setGeometry(Scaled(row.left), Scaled(row.top), size.width(), size.height());
}

}  // namespace

QFont WindowFont() {
    QFont font;
    QStringList families;
    for (std::string_view family : kFontFamilies) {
        families << QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
    }
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFontPointSize);
    return font;
}

QWidget* NewWidget(const ControlRow& row, QWidget* parent) {
    QWidget* control = NewOfType(row, parent);
    control->setObjectName(
        QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
    ApplyStyle(row, *control);
    Place(row, *control);
    return control;
}

}  // namespace oradel
