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

QString Caption(const ControlSpec& spec) {
    return QString::fromUtf8(spec.caption.data(), static_cast<qsizetype>(spec.caption.size()));
}

QWidget* NewSpeedButton(const ControlSpec& spec, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(Caption(spec));
    button->setAutoRaise(true);
    return button;
}

QWidget* NewLabel(const ControlSpec& spec, QWidget* parent) {
    auto* label = new QLabel(Caption(spec), parent);
    label->setTextFormat(Qt::PlainText);
    if (spec.style & kCentred) label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
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

QWidget* NewOfType(const ControlSpec& spec, QWidget* parent) {
    switch (spec.type) {
        case ControlType::SpeedButton:
            return NewSpeedButton(spec, parent);
        case ControlType::Label:
            return NewLabel(spec, parent);
        case ControlType::Bevel:
            return new BevelLine(parent);
        case ControlType::CheckBox:
            return new QCheckBox(Caption(spec), parent);
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

void ApplyStyle(const ControlSpec& spec, QWidget& control) {
    QFont font = control.font();
    font.setBold(spec.style & kBold);
    font.setItalic(spec.style & kItalic);
    control.setFont(font);
    QPalette palette = control.palette();
    if (spec.textColour) {
        palette.setColor(QPalette::WindowText, ColourOf(*spec.textColour));
        palette.setColor(QPalette::ButtonText, ColourOf(*spec.textColour));
    }
    if (spec.background) palette.setColor(QPalette::Base, ColourOf(*spec.background));
    control.setPalette(palette);
    if (spec.style & kCaptionLeft) control.setLayoutDirection(Qt::RightToLeft);
    if (!spec.hint.empty()) {
        control.setToolTip(
            QString::fromUtf8(spec.hint.data(), static_cast<qsizetype>(spec.hint.size())));
    }
    if (!spec.takesFocus) control.setFocusPolicy(Qt::NoFocus);
}

void Place(const ControlSpec& spec, QWidget& control) {
    QSize size(Scaled(spec.width), Scaled(spec.height));
    if (spec.width == 0 || spec.height == 0) {
        const QSize fitting = control.sizeHint();
        if (spec.width == 0) size.setWidth(fitting.width());
        if (spec.height == 0) size.setHeight(fitting.height());
    }
    control.setGeometry(Scaled(spec.left), Scaled(spec.top), size.width(), size.height());
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

QWidget* NewWidget(const ControlSpec& spec, QWidget* parent) {
    QWidget* control = NewOfType(spec, parent);
    control->setObjectName(
        QString::fromUtf8(spec.name.data(), static_cast<qsizetype>(spec.name.size())));
    ApplyStyle(spec, *control);
    Place(spec, *control);
    return control;
}

}  // namespace oradel
