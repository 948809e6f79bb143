#include "window/widget_builder.h"

#include "form/inventory.h"
#include "window/controls.h"
#include "window/look.h"
#include "window/text.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>

namespace window {

using form::ControlRow;
using form::Kind;
using form::kTwipsPerPixel;

namespace {

QRect pixels(const ControlRow &row)
{
    return {row.left / kTwipsPerPixel,
        row.top / kTwipsPerPixel,
        row.width / kTwipsPerPixel,
        row.height / kTwipsPerPixel};
}

// A label; a tight one sets its lines closer than the font does.
QLabel *makeLabel(const ControlRow &row, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(parent);
    if (row.looks & form::look::kTight) {
        label->setTextFormat(Qt::RichText);
        label->setText(QStringLiteral("<div style=\"line-height:86%\">%1</div>")
                           .arg(caption.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"))));
    } else {
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
    }
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A drop-down with the entries of the window's design, showing its start text.
ComboBox *makeComboBox(const ControlRow &row, const QString &caption, QWidget *parent)
{
    auto *combo = new ComboBox(parent);
    combo->addItems(fromUtf8List(form::startEntries(row.name)));
    combo->setCurrentIndex(combo->findText(caption, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(caption);
    return combo;
}

QWidget *makeWidget(const ControlRow &row, QWidget *parent)
{
    const QString caption = fromUtf8(row.caption);
    switch (row.kind) {
    case Kind::Label:
        return makeLabel(row, caption, parent);
    case Kind::Link: {
        auto *label = new LinkLabel(parent);
        label->setText(caption);
        label->setTextFormat(Qt::PlainText);
        label->setCursor(look::handCursor());
        label->setFocusPolicy(Qt::TabFocus);
        return label;
    }
    case Kind::TextBox: {
        auto *text = new TextBox(parent);
        text->setText(caption);
        return text;
    }
    case Kind::ListBox:
        return new ListBox(parent);
    case Kind::ComboBox:
        return makeComboBox(row, caption, parent);
    case Kind::Option: {
        auto *option = new OptionButton(parent);
        option->setText(caption);
        return option;
    }
    case Kind::Check:
        return new QCheckBox(caption, parent);
    case Kind::Command:
        return new CommandButton(caption, parent);
    case Kind::Picture: {
        auto *button = new PictureButton(parent);
        button->setPicture(look::picture(fromUtf8(row.name)));
        return button;
    }
    case Kind::Frame: {
        auto *frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case Kind::Image: {
        auto *image = new QLabel(parent);
        image->setPixmap(look::picture(fromUtf8(row.name)));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return image;
    }
    }
    Q_UNREACHABLE();
}

// Spoken names: the caption, or the caption of the label that names the control (form::spokenName).
void nameForScreenReaders(const BuiltControls &built)
{
    for (const ControlRow &row : form::controlRows()) {
        const QString spoken = fromUtf8(form::spokenName(row));
        if (spoken.isEmpty())
            continue;
        QWidget *widget = built.controls.value(fromUtf8(row.name));
        widget->setAccessibleName(spoken);
        if (auto *combo = qobject_cast<ComboBox *>(widget))
            combo->lineEdit()->setAccessibleName(spoken); // the field; the list is named when built
    }
    for (std::size_t step = 0; step < form::stepNames().size(); ++step)
        built.tabs->setSpokenName(static_cast<int>(step), fromUtf8(form::stepNames()[step]));
}

// Tab goes from the tab row through the pages' controls as they read, then the bottom strip.
void setTabOrder(const BuiltControls &built)
{
    QWidget *previous = built.tabs->tabBar();
    for (const std::string_view name : form::tabOrder()) {
        QWidget *next = built.controls.value(fromUtf8(name));
        QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

} // namespace

BuiltControls buildControls(QWidget &window)
{
    BuiltControls built;
    QStringList tabs;
    for (int i = 1; i <= form::kPageCount; ++i)
        tabs << QString::number(i);
    built.tabs = new TabControl(tabs, &window);
    built.tabs->setObjectName(QStringLiteral("SSTab1"));
    built.tabs->setGeometry(form::kTabControlTwips[0] / kTwipsPerPixel,
        form::kTabControlTwips[1] / kTwipsPerPixel,
        form::kTabControlTwips[2] / kTwipsPerPixel,
        form::kTabControlTwips[3] / kTwipsPerPixel);
    built.controls.insert(built.tabs->objectName(), built.tabs);

    const auto containerOf = [&](std::string_view container) -> QWidget * {
        if (container == "Form1")
            return &window;
        if (const std::optional<int> page = form::tabPage(container))
            return built.tabs->page(*page);
        return built.controls.value(fromUtf8(container)); // a frame: the inventory lists it first
    };

    for (const ControlRow &row : form::controlRows()) {
        QWidget *widget = makeWidget(row, containerOf(row.container));
        widget->setObjectName(fromUtf8(row.name));
        widget->setGeometry(pixels(row));
        look::apply(widget, row.looks);
        if (!row.tip.empty())
            widget->setToolTip(fromUtf8(row.tip));
        if (row.looks & form::look::kHidden)
            widget->hide();
        built.controls.insert(widget->objectName(), widget);
    }
    nameForScreenReaders(built);
    setTabOrder(built);
    return built;
}

} // namespace window
