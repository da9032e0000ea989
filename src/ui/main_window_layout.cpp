// The controls of Form1: kind, name, parent, position, caption, font style,
// colour and hint, in creation order, and the keyboard order.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>
#include <array>

#include "ui/help_text.hpp"
#include "ui/main_window.hpp"
#include "ui/window_metrics.hpp"

namespace oradel {
namespace {

enum class Kind { SpeedButton, Label, Bevel, CheckBox, Panel, Edit, Memo };
enum class Colour { Standard, Navy, Olive, Maroon };
enum Style : unsigned {
    kRegular = 0,
    kBold = 1,
    kItalic = 2,
    kCaptionLeft = 4,  // check box with its caption left of the box
    kCentred = 8,
};

struct ControlLayout {
    Kind kind;
    const char* name;
    bool inPanel;
    int left, top, width, height;  // pixels at 120 dpi; 0 width or height: fit the text
    const char16_t* text;
    unsigned style;
    Colour colour;
    const char16_t* hint;
};

using enum Kind;
constexpr bool W = false;  // parent: the window
constexpr bool P = true;   // parent: Panel1

constexpr ControlLayout kControls[] = {
    {SpeedButton, "SpeedButton1", W, 24, 56, 89, 25, u"Открыть ", kBold, Colour::Navy, nullptr},
    {SpeedButton, "SpeedButton2", W, 296, 56, 105, 25, u"Просмотр", kBold, Colour::Navy, nullptr},
    {Label, "Label1", W, 24, 24, 0, 0, u"Файл:", kBold, Colour::Navy, nullptr},
    {SpeedButton, "SpeedButton3", W, 128, 56, 153, 25, u"Конвертировать", kBold, Colour::Navy,
     nullptr},
    {Label, "Label2", W, 24, 113, 0, 0, u"Выберите операции:", kBold, Colour::Navy, nullptr},
    {SpeedButton, "SpeedButton4", W, 640, 56, 66, 25, u"Сайт", kRegular, Colour::Standard, nullptr},
    {SpeedButton, "SpeedButton5", W, 494, 56, 131, 25, u"О Программе", kRegular, Colour::Standard,
     nullptr},
    {SpeedButton, "SpeedButton6", W, 548, 335, 158, 25, u"Доп. настройка HTM", kItalic,
     Colour::Standard, nullptr},
    {Bevel, "Bevel1", W, 24, 215, 680, 9, nullptr, kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox4", W, 24, 339, 521, 17,
     u"Из текстового файла .TXT в .HTM файл для сайта или телефона     (UTF-8)", kRegular,
     Colour::Standard, nullptr},
    {CheckBox, "CheckBox3", W, 24, 305, 697, 17,
     u"Из текстового файла .TXT в файл импорта автонавигатора Navitel Navigator формата .WPT    "
     u"(ANSI)",
     kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox5", W, 24, 272, 657, 17,
     u"Из текстового файла .TXT в файл путевых точек (waypoints) формата .WPT для LK8000    (ANSI)",
     kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox2", W, 24, 238, 561, 17,
     u"Из текстового файла .TXT в файл импорта формата .WPT для XCTrack    (UTF-8)", kRegular,
     Colour::Standard, nullptr},
    {CheckBox, "CheckBox1", W, 24, 144, 500, 17,
     u"Из экспорта XCTrack формата .WPT в текстовый формат .TXT    (ANSI)", kRegular,
     Colour::Standard, nullptr},
    {Panel, "Panel1", W, 24, 374, 681, 267, nullptr, kRegular, Colour::Standard, nullptr},
    {Label, "Label3", P, 15, 45, 0, 0, u"Погода:", kBold, Colour::Standard, nullptr},
    {Label, "Label4", P, 16, 95, 0, 0, u"На карте:", kBold, Colour::Standard, nullptr},
    {Label, "Label5", P, 16, 145, 0, 0, u"Карта:", kBold, Colour::Standard, nullptr},
    {Label, "Label6", P, 16, 169, 640, 0,
     u"----------------------------------------------------- Приложения: "
     u"------------------------------------------------------",
     kBold, Colour::Standard, nullptr},
    {Label, "Label7", P, 180, 230, 0, 0, u"номер", kCentred, Colour::Standard, nullptr},
    {Label, "Label8", P, 311, 230, 0, 0, u"регион", kCentred, Colour::Standard, nullptr},
    {Label, "Label9", P, 423, 230, 0, 0, u"свид-во рег ТС", kCentred, Colour::Standard, nullptr},
    {CheckBox, "CheckBox6", P, 88, 45, 73, 17, u"Windy", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox7", P, 166, 45, 153, 17, u" АэроДиаграмма", kRegular, Colour::Standard,
     nullptr},
    {CheckBox, "CheckBox8", P, 323, 45, 81, 17, u"Yandex", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox9", P, 536, 45, 130, 17, u" Карта ветров", kRegular, Colour::Standard,
     nullptr},
    {CheckBox, "CheckBox10", P, 108, 95, 84, 17, u"Google", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox11", P, 199, 95, 86, 17, u"Yandex", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox12", P, 78, 145, 108, 17, u"Термиков", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox13", P, 16, 71, 110, 17, u"нов. строка", kItalic, Colour::Olive, nullptr},
    {CheckBox, "CheckBox14", P, 16, 121, 110, 17, u"нов. строка", kItalic, Colour::Olive, nullptr},
    {CheckBox, "CheckBox16", P, 16, 198, 166, 17, u"Просмотр IGC и GPX ", kRegular,
     Colour::Standard, nullptr},
    {CheckBox, "CheckBox17", P, 199, 198, 154, 17, u"Конвертер треков", kRegular, Colour::Standard,
     nullptr},
    {CheckBox, "CheckBox18", P, 368, 198, 177, 17, u"Конвертер координат", kRegular,
     Colour::Standard, nullptr},
    {CheckBox, "CheckBox19", P, 16, 230, 161, 17, u"Проверка штрафов:", kRegular, Colour::Standard,
     u"запишите данные ващего авто"},
    {Edit, "Edit1", P, 241, 226, 64, 24, nullptr, kRegular, Colour::Standard, nullptr},
    {Edit, "Edit2", P, 380, 226, 37, 24, nullptr, kRegular, Colour::Standard, nullptr},
    {Edit, "Edit3", P, 542, 226, 91, 24, nullptr, kRegular, Colour::Standard, nullptr},
    {CheckBox, "cRS", P, 112, 15, 217, 17, u"Раскрывающийся список", kBold | kItalic | kCaptionLeft,
     Colour::Maroon, nullptr},
    {CheckBox, "cFI", P, 446, 15, 99, 17, u"Фильтр", kBold | kItalic | kCaptionLeft, Colour::Maroon,
     nullptr},
    {CheckBox, "cRS2", P, 338, 15, 87, 17, u"открыт", kRegular, Colour::Maroon,
     u"изначально открыт (развернут)"},
    {CheckBox, "CheckBox20", P, 419, 45, 105, 17, u"Meteonova", kRegular, Colour::Standard,
     nullptr},
    {CheckBox, "CheckBox21", P, 199, 145, 84, 17, u"Высот", kRegular, Colour::Standard, nullptr},
    {CheckBox, "CheckBox15", W, 24, 178, 561, 17,
     u"Из экспорта Navitel Navigator формата .GPX  в текстовый формат .TXT    (ANSI)", kRegular,
     Colour::Standard, nullptr},
    {Memo, "Memo1", W, 0, 0, 729, 25, nullptr, kRegular, Colour::Standard, nullptr},
};

// Keyboard order: the window's controls, then those of Panel1.
constexpr std::array kKeyboardOrder = {
    "CheckBox1",  "CheckBox15", "CheckBox2",  "CheckBox5",  "CheckBox3",  "CheckBox4",
    "Memo1",      "cRS",        "cRS2",       "cFI",        "CheckBox6",  "CheckBox7",
    "CheckBox8",  "CheckBox20", "CheckBox9",  "CheckBox13", "CheckBox10", "CheckBox11",
    "CheckBox14", "CheckBox12", "CheckBox21", "CheckBox16", "CheckBox17", "CheckBox18",
    "CheckBox19", "Edit1",      "Edit2",      "Edit3",
};

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

QColor ColourValue(Colour colour) {
    switch (colour) {
        case Colour::Navy:
            return QColor(0x00, 0x00, 0x80);
        case Colour::Olive:
            return QColor(0x80, 0x80, 0x00);
        case Colour::Maroon:
            return QColor(0x80, 0x00, 0x00);
        case Colour::Standard:
            break;
    }
    return {};
}

QWidget* NewControl(const ControlLayout& layout, QWidget* parent) {
    const QString text = layout.text ? QString::fromUtf16(layout.text) : QString();
    switch (layout.kind) {
        case SpeedButton: {
            auto* button = new QToolButton(parent);
            button->setText(text);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            return button;
        }
        case Label: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            if (layout.style & kCentred) label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            return label;
        }
        case Bevel:
            return new BevelLine(parent);
        case CheckBox:
            return new QCheckBox(text, parent);
        case Panel: {
            // A raised outer and a lowered inner bevel, one pixel each.
            auto* panel = new QFrame(parent);
            panel->setFrameStyle(QFrame::Box | QFrame::Raised);
            panel->setLineWidth(1);
            panel->setMidLineWidth(0);
            return panel;
        }
        case Edit:
            return new QLineEdit(parent);
        case Memo:
            return new QPlainTextEdit(parent);
    }
    return nullptr;
}

void ApplyStyle(const ControlLayout& layout, QWidget& control) {
    QFont font = control.font();
    font.setBold(layout.style & kBold);
    font.setItalic(layout.style & kItalic);
    control.setFont(font);
    if (layout.colour != Colour::Standard) {
        QPalette palette = control.palette();
        palette.setColor(QPalette::WindowText, ColourValue(layout.colour));
        palette.setColor(QPalette::ButtonText, ColourValue(layout.colour));
        control.setPalette(palette);
    }
    if (layout.style & kCaptionLeft) control.setLayoutDirection(Qt::RightToLeft);
    if (layout.hint) control.setToolTip(QString::fromUtf16(layout.hint));
}

void PlaceControl(const ControlLayout& layout, QWidget& control) {
    QSize size(Scaled(layout.width), Scaled(layout.height));
    if (layout.width == 0 || layout.height == 0) {
        const QSize fitting = control.sizeHint();
        if (layout.width == 0) size.setWidth(fitting.width());
        if (layout.height == 0) size.setHeight(fitting.height());
    }
    control.setGeometry(Scaled(layout.left), Scaled(layout.top), size.width(), size.height());
}

void SetUpHelpText(QPlainTextEdit& memo) {
    memo.setPlainText(HelpTextLines().join(u'\n'));
    memo.setReadOnly(true);
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    memo.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = memo.palette();
    palette.setColor(QPalette::Base, QColor(254, 255, 242));
    memo.setPalette(palette);
    memo.hide();
}

}  // namespace

void TForm1::CreateControls() {
    QWidget* panel = nullptr;
    for (const ControlLayout& layout : kControls) {
        QWidget* control = NewControl(layout, layout.inPanel ? panel : this);
        control->setObjectName(QString::fromLatin1(layout.name));
        ApplyStyle(layout, *control);
        PlaceControl(layout, *control);
        if (layout.kind == Kind::Panel) panel = control;
    }
    FindControls();
    Panel1->hide();
    SetUpHelpText(*Memo1);
    SetKeyboardOrder();
}

void TForm1::SetKeyboardOrder() {
    QWidget* previous = nullptr;
    for (const char* name : kKeyboardOrder) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(name));
        if (previous != nullptr) setTabOrder(previous, control);
        previous = control;
    }
}

}  // namespace oradel
