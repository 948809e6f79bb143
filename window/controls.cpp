#include "window/controls.h"

#include "engine/utf8.h"

#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace window {

void drawFocusMark(QPainter &painter, const QRect &rect, const QColor &colour)
{
    painter.save();
    QPen pen(colour, 1);
    pen.setDashPattern({1.0, 1.0}); // every other pixel
    pen.setCosmetic(true);          // of the screen, at any scale
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

namespace {

// Entries 13 pixels high, so that a list shows exactly as many entries as its height was made for.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), ListBox::kRowHeight};
    }
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus; // the list box draws its own focus mark
    }

    // The style draws the entry's background, selection and focus; the text, a single line cut short
    // with "…" where it is too long, is drawn here in one pass, where the style would lay it out twice.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget *view = item.widget;
        const QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QRect area
            = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).adjusted(margin, 0, -margin, 0);
        const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
            : (item.state & QStyle::State_Active)                                ? QPalette::Normal
                                                                                 : QPalette::Inactive;
        painter->save();
        painter->setPen(item.palette.color(
            group, (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(item.font);
        painter->drawText(area,
            static_cast<int>(item.displayAlignment),
            item.fontMetrics.elidedText(text, item.textElideMode, area.width()));
        painter->restore();
    }

    // An entry longer than its list is cut short on screen; its tooltip shows it whole.
    bool helpEvent(QHelpEvent *event,
        QAbstractItemView *view,
        const QStyleOptionViewItem &option,
        const QModelIndex &index) override
    {
        if (event->type() == QEvent::ToolTip) {
            const QString text = index.data(Qt::DisplayRole).toString();
            if (option.fontMetrics.horizontalAdvance(text) + 6 > option.rect.width()) {
                QToolTip::showText(event->globalPos(), text, view);
                return true;
            }
            QToolTip::hideText();
            return true;
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
};

// Line breaks of every kind a clipboard may carry: LF, VT, FF, CR, NEL and the Unicode line and
// paragraph separators.
bool isLineBreak(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool fitsOneLine(QStringView text)
{
    for (const QChar c : text)
        if (isLineBreak(c.unicode()) || engine::isControlCharacter(c.unicode()))
            return false;
    return true;
}

} // namespace

QString singleLine(QStringView inserted)
{
    QString kept;
    kept.reserve(inserted.size());
    for (const QChar c : inserted) {
        if (isLineBreak(c.unicode()))
            break;
        if (!engine::isControlCharacter(c.unicode()))
            kept += c;
    }
    return kept;
}

SingleLineValidator::SingleLineValidator(QLineEdit *field)
    : QValidator(field)
    , m_before(field->text())
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_before = text;
    });
}

QValidator::State SingleLineValidator::validate(QString &input, int &pos) const
{
    if (fitsOneLine(input))
        return Acceptable;
    // The inserted part lies between what the text kept of its start and of its end.
    const qsizetype most = std::min(input.size(), m_before.size());
    qsizetype head = 0;
    while (head < most && input[head] == m_before[head])
        ++head;
    qsizetype tail = 0;
    while (tail < most - head && input[input.size() - 1 - tail] == m_before[m_before.size() - 1 - tail])
        ++tail;
    const QString kept = singleLine(QStringView(input).sliced(head, input.size() - head - tail));
    input = input.left(head) + kept + input.right(tail);
    pos = static_cast<int>(head + kept.size());
    return Acceptable;
}

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new RowDelegate(this));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // the classic two-pixel sunken well
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click on another entry, the arrows, Home, End and type-ahead all select an entry.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> chosen = selectedItems();
        if (chosen.isEmpty())
            return;
        // A screen reader selects an entry without making it current; the handlers read the current one.
        if (currentItem() != chosen.front())
            setCurrentItem(chosen.front(), QItemSelectionModel::NoUpdate);
        emit Click();
    });
}

// Only the left button chooses an entry; the right and middle buttons leave the list as it is.
void ListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // A click on the entry that is already chosen changes no selection, yet the user means to apply it
    // again.
    QListWidgetItem *hit = itemAt(event->position().toPoint());
    const bool again = hit && hit->isSelected();
    QListWidget::mousePressEvent(event);
    if (again && hit->isSelected())
        emit Click();
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first entry current when focus enters a list with none; the user has chosen nothing,
    // and the first arrow key must then land on the first entry, not the second.
    const bool chosen = !selectedItems().isEmpty();
    QListWidget::focusInEvent(event);
    if (!chosen && selectedItems().isEmpty())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void ListBox::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    if (!hasFocus())
        return;
    // The mark stands on the entry the arrows start from, across the whole row; on the first row while
    // nothing is chosen, even in an empty list.
    const QModelIndex current = currentIndex();
    QRect row(0, 0, viewport()->width(), kRowHeight);
    if (current.isValid())
        row.moveTop(visualRect(current).top());
    const bool chosen = current.isValid() && selectionModel()->isSelected(current);
    QPainter painter(viewport());
    drawFocusMark(painter, row, palette().color(chosen ? QPalette::HighlightedText : QPalette::Text));
}

OptionButton::OptionButton(QWidget *parent)
    : QRadioButton(parent)
{
}

void OptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    indicator.moveTop((height() - indicator.height()) / 2);
    const QRect textRect = rect().adjusted(indicator.right() + 4, 0, 0, 0);
    constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    option.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, option);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, flags, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = text().isEmpty() ? indicator : painter.boundingRect(textRect, flags, text());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool OptionButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

// The edit field of the combo box. The combo box treats a confirmed text (Return) and a dropped one
// (focus out) as a choice when the text equals an entry: it picks the entry, may change the letter
// case to the entry's, and reports an activation. Typed text must stay as typed and raise nothing, so
// the field keeps those two events to itself.
class ComboBox::TypingEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            const QSignalBlocker quiet(this);
            QLineEdit::keyPressEvent(event);
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        const QSignalBlocker quiet(this);
        QLineEdit::focusOutEvent(event);
    }
};

namespace {

// Qt gives the field of an editable drop-down a completer of its own unless the field has one, and
// building it costs more than the rest of the box. Each field borrows this one instead, and the box
// drops it at once: the boxes complete nothing.
QCompleter *borrowedCompleter()
{
    static QPointer<QCompleter> completer;
    if (!completer)
        completer = new QCompleter(QCoreApplication::instance());
    return completer;
}

} // namespace

ComboBox::ComboBox(QWidget *parent)
    : QComboBox(parent)
{
    auto *field = new TypingEdit(this);
    field->setCompleter(borrowedCompleter());
    setLineEdit(field); // makes the box editable, with this field and no other
    lineEdit()->setValidator(new SingleLineValidator(lineEdit()));
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // no completion: it would change "m" into "M"
    setMaxVisibleItems(15);
    connect(this, &QComboBox::activated, this, &ComboBox::Click);
}

QAbstractItemView *ComboBox::namedView() const
{
    QAbstractItemView *list = view();
    if (list->accessibleName() != accessibleName())
        list->setAccessibleName(accessibleName());
    return list;
}

void ComboBox::showPopup()
{
    namedView();
    QComboBox::showPopup();
}

void ComboBox::wheelEvent(QWheelEvent *event)
{
    // Turning the wheel over a closed list must not choose an entry behind the user's back.
    event->ignore();
}

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new SingleLineValidator(this));
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    setIndent(3); // room for the focus mark before the first letter
}

void LinkLabel::activate()
{
    emit Click();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            activate();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(indent(), 0, 0, 0); // the text is left-aligned
    const QRect text = fontMetrics().boundingRect(area, int(alignment()), this->text());
    drawFocusMark(painter, text.adjusted(-2, -1, 2, 1) & rect(), palette().color(QPalette::WindowText));
}

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    // Outside a dialog a push button answers Space only; Return presses it too once it is auto-default.
    setAutoDefault(true);
}

PictureButton::PictureButton(QWidget *parent)
    : CommandButton(QString(), parent)
{
}

void PictureButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the text is the accessible name; the picture shows it
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect target(QPoint(), m_picture.deviceIndependentSize().toSize());
    target.moveCenter(rect().center());
    if (isDown())
        target.translate(1, 1);
    painter.setClipRect(rect().adjusted(2, 2, -2, -2));
    painter.drawPixmap(target, m_picture);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// Tabs of equal width that fill the row; the first ones take the pixels left over by the division.
class TabControl::EqualTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override
    {
        const int tabs = std::max(count(), 1);
        const int width = this->width() / tabs + (index < this->width() % tabs ? 1 : 0);
        return {width, kTabRowHeight};
    }
    QSize minimumTabSizeHint(int index) const override
    {
        return tabSizeHint(index);
    }
};

TabControl::TabControl(const QStringList &captions, QWidget *parent)
    : QWidget(parent)
    , m_bar(new EqualTabBar(this))
{
    m_bar->setObjectName(QStringLiteral("SSTab1_tabs"));
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(false);
    m_bar->setElideMode(Qt::ElideNone);
    m_bar->setDrawBase(false);
    for (const QString &caption : captions) {
        m_bar->addTab(caption);
        auto *page = new QWidget(this);
        page->setObjectName(QStringLiteral("SSTab1_page%1").arg(caption));
        page->hide();
        m_pages.push_back(page);
    }
    m_bar->raise();
    connect(m_bar, &QTabBar::currentChanged, this, &TabControl::showPage);
    showPage(0);

    // From any control of the window: a shortcut comes before the keys of the control that has focus, so
    // line edits, lists and combo boxes cannot keep these for themselves. Ctrl+Shift+Tab arrives as
    // Ctrl+Shift+Backtab, which the shortcut map matches to Ctrl+Shift+Tab.
    const auto bind = [this](const QKeySequence &keys, int step) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            stepPage(step);
        });
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Tab), +1);
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

QWidget *TabControl::page(int index) const
{
    return m_pages.at(static_cast<std::size_t>(index));
}

int TabControl::pageCount() const
{
    return static_cast<int>(m_pages.size());
}

int TabControl::currentIndex() const
{
    return m_bar->currentIndex();
}

void TabControl::setCurrentIndex(int index)
{
    m_bar->setCurrentIndex(index);
}

QTabBar *TabControl::tabBar() const
{
    return m_bar;
}

void TabControl::setSpokenName(int index, const QString &name)
{
    m_bar->setAccessibleTabName(index, name);
    m_bar->setTabToolTip(index, name);
    page(index)->setAccessibleName(name);
}

QWidget *TabControl::firstControl(int index) const
{
    const QWidget *page = this->page(index);
    for (QWidget *widget = m_bar->nextInFocusChain(); widget && widget != m_bar;
         widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus
            && widget->isVisibleTo(window()) && widget->isEnabled() && !widget->focusProxy())
            return widget;
    }
    return nullptr;
}

void TabControl::showPage(int index)
{
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(static_cast<int>(i) == index);
    m_bar->raise();
}

void TabControl::stepPage(int step)
{
    const int count = pageCount();
    const int next = (currentIndex() + step + count) % count;
    // The new page shows and takes focus before the old one hides, so that focus never passes through a
    // control of some other page or of the bottom strip on its way.
    page(next)->show();
    if (QWidget *first = firstControl(next))
        first->setFocus(Qt::ShortcutFocusReason);
    setCurrentIndex(next);
}

void TabControl::resizeEvent(QResizeEvent *)
{
    m_bar->setGeometry(0, 0, width(), kTabRowHeight);
    for (QWidget *page : m_pages)
        page->setGeometry(rect());
}

void TabControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, kTabRowHeight - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = QSize(width(), kTabRowHeight);
    frame.tabBarRect = QRect(0, 0, width(), kTabRowHeight);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

} // namespace window
