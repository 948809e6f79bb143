#include "window/form1.h"

#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/premium.h"
#include "engine/premium_messages.h"
#include "engine/step_factors.h"
#include "engine/territory.h"
#include "report/report.h"
#include "window/accessibility.h"
#include "window/category_options.h"
#include "window/desktop.h"
#include "window/inventory.h"
#include "window/look.h"
#include "window/module1.h"
#include "window/report_picture.h"
#include "window/text.h"
#include "window/widget_builder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>

#include <filesystem>
#include <span>
#include <string>

// The pictures are compiled into this library; a static library has to register them itself.
static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace window {

namespace {

// The time as the system writes it, to the second, without a time-zone name.
QString timeText(const QLocale &locale, const QTime &time)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
    return locale.toString(time, format.trimmed());
}

} // namespace

Form1::Form1(Desktop &desktop, const QString &programFolder, QWidget *parent)
    : QWidget(parent)
    , m_desktop(desktop)
    , m_files(ProgramFiles::locate(programFolder))
{
    initPictures();
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromUtf8(kFormCaption));
    setWindowIcon(look::windowIcon());
    setFont(look::font(look::kNone));
    setPalette(look::windowPalette()); // the window keeps its own colours on a dark desktop
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    BuiltControls built = buildControls(*this);
    SSTab1 = built.tabs;
    m_controls = std::move(built.controls);
    findControls();
    bindHandlers();
    Form_Load();
}

QWidget *Form1::control(const QString &name) const
{
    return m_controls.value(name);
}

template<typename T>
T *Form1::find(const char *name) const
{
    auto *widget = qobject_cast<T *>(m_controls.value(QLatin1String(name)));
    if (!widget) // a row of the inventory lost or changed its kind: nothing could work
        qFatal("Form1: no control %s of the expected kind", name);
    return widget;
}

void Form1::findControls()
{
    List1 = find<ListBox>("List1");
    List2 = find<ListBox>("List2");
    List3 = find<ListBox>("List3");
    List4 = find<ListBox>("List4");
    List5 = find<ListBox>("List5");
    List6 = find<ListBox>("List6");
    List7 = find<ListBox>("List7");
    List8 = find<ListBox>("List8");
    List9 = find<ListBox>("List9");
    List10 = find<ListBox>("List10");
    List11 = find<ListBox>("List11");
    List12 = find<ListBox>("List12");
    txtTb = find<TextBox>("txtTb");
    Text1 = find<TextBox>("Text1");
    Text2 = find<TextBox>("Text2");
    Text3 = find<TextBox>("Text3");
    Text4 = find<TextBox>("Text4");
    Text5 = find<TextBox>("Text5");
    Text6 = find<TextBox>("Text6");
    Text7 = find<TextBox>("Text7");
    Text8 = find<TextBox>("Text8");
    Text9 = find<TextBox>("Text9");
    Text10 = find<TextBox>("Text10");
    Text11 = find<TextBox>("Text11");
    Text12 = find<TextBox>("Text12");
    Text13 = find<TextBox>("Text13");
    Combo1 = find<ComboBox>("Combo1");
    Combo2 = find<ComboBox>("Combo2");
    Combo3 = find<ComboBox>("Combo3");
    Combo4 = find<ComboBox>("Combo4");
    Combo5 = find<ComboBox>("Combo5");
    Option1 = find<QRadioButton>("Option1");
    Option2 = find<QRadioButton>("Option2");
    Option3 = find<QRadioButton>("Option3");
    Option4 = find<QRadioButton>("Option4");
    Option5 = find<QRadioButton>("Option5");
    Option6 = find<QRadioButton>("Option6");
    Option7 = find<QRadioButton>("Option7");
    Option8 = find<QRadioButton>("Option8");
    Option9 = find<QRadioButton>("Option9");
    Option10 = find<QRadioButton>("Option10");
    Option11 = find<QRadioButton>("Option11");
    Check1 = find<QCheckBox>("Check1");
    Command1 = find<QPushButton>("Command1");
    Command2 = find<QPushButton>("Command2");
    Command3 = find<QPushButton>("Command3");
    Command4 = find<QPushButton>("Command4");
    Command5 = find<QPushButton>("Command5");
    Command6 = find<QPushButton>("Command6");
    Command7 = find<QPushButton>("Command7");
    Label45 = find<LinkLabel>("Label45");
    Label46 = find<LinkLabel>("Label46");
    Label49 = find<QLabel>("Label49");
    Label50 = find<QLabel>("Label50");
}

void Form1::bindHandlers()
{
    connect(List1, &ListBox::Click, this, &Form1::List1_Click);
    connect(List2, &ListBox::Click, this, &Form1::List2_Click);
    connect(List3, &ListBox::Click, this, &Form1::List3_Click);
    connect(Text1, &TextBox::Click, this, &Form1::Text1_Click);
    connect(Text2, &TextBox::Click, this, &Form1::Text2_Click);
    connect(Text3, &TextBox::Click, this, &Form1::Text3_Click);
    connect(Text4, &TextBox::Click, this, &Form1::Text4_Click);

    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(List5, &ListBox::Click, this, &Form1::List5_Click);
    connect(List6, &ListBox::Click, this, &Form1::List6_Click);
    connect(List7, &ListBox::Click, this, &Form1::List7_Click);
    connect(List8, &ListBox::Click, this, &Form1::List8_Click);
    connect(List9, &ListBox::Click, this, &Form1::List9_Click);
    // Option buttons act when they become selected, by the user or from code, and not when an already
    // selected button is clicked again.
    const auto onSelected = [this](QRadioButton *option, void (Form1::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
            if (selected)
                (this->*handler)();
        });
    };
    onSelected(Option1, &Form1::Option1_Click);
    onSelected(Option2, &Form1::Option2_Click);

    connect(Combo1, &ComboBox::Click, this, &Form1::Combo1_Click);
    connect(Combo5, &ComboBox::Click, this, &Form1::Combo5_Click);
    onSelected(Option10, &Form1::Option10_Click);
    onSelected(Option11, &Form1::Option11_Click);

    connect(List10, &ListBox::Click, this, &Form1::List10_Click);
    connect(List11, &ListBox::Click, this, &Form1::List11_Click);
    connect(List12, &ListBox::Click, this, &Form1::List12_Click);
    connect(Combo2, &ComboBox::Click, this, &Form1::Combo2_Click);
    connect(Combo3, &ComboBox::Click, this, &Form1::Combo3_Click);

    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Text10, &QLineEdit::textChanged, this, &Form1::Text10_Change);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Label45, &LinkLabel::Click, this, &Form1::Label45_Click);
    connect(Label46, &LinkLabel::Click, this, &Form1::Label46_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
}

void Form1::centreOnScreen()
{
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// The design already holds the start values of the factor fields and keeps the master list of towns,
// the start date and time and the renewal controls hidden; start-up adds what only it knows.
void Form1::Form_Load()
{
    // The report states when the program was started, not when it was written.
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    Text11->setText(locale.toString(now.date(), QLocale::ShortFormat));
    Text12->setText(timeText(locale, now.time()));

    Option10->setChecked(true); // runs Option10_Click, which keeps the renewal controls hidden

    for (ListBox *list : {List1, List2, List3, List6, List8, List4, List7, List9, List10, List11, List12})
        list->addItems(fromUtf8List(listEntries(toUtf8(list->objectName()))));

    Option3->setChecked(true);
    Option8->setChecked(true);
    Option1->setChecked(true); // runs Option1_Click, which empties Text3
    Text3->setText(QStringLiteral("0"));
}

// Step 1: base rate. A row writes TB in roubles and the same rate as percent of 400 000 roubles.

namespace {

void applyBaseRate(engine::RateList list, const ListBox *rows, QLineEdit *rate, QLineEdit *percent)
{
    if (const QListWidgetItem *row = rows->currentItem()) {
        if (const auto found = engine::findBaseRate(list, toUtf8(row->text()))) {
            rate->setText(fromUtf8(found->rate));
            percent->setText(fromUtf8(found->percent));
        }
    }
}

// Steps 4 to 8: the chosen entry's factor, when the entry is one of the step's rows.
void applyFactor(std::span<const engine::FactorRow> rows, const QString &entry, QLineEdit *field)
{
    if (const auto factor = engine::findFactor(rows, toUtf8(entry)))
        field->setText(fromUtf8(*factor));
}

QString currentEntry(const ListBox *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item ? item->text() : QString();
}

} // namespace

void Form1::List1_Click()
{
    applyBaseRate(engine::RateList::Cars, List1, txtTb, Text1);
}

void Form1::List2_Click()
{
    applyBaseRate(engine::RateList::Trucks, List2, txtTb, Text1);
}

void Form1::List3_Click()
{
    applyBaseRate(engine::RateList::Motorcycles, List3, txtTb, Text1);
}

// A click into one of the first four text fields sets TB alone to the rate of the car row with the
// same position.
void Form1::Text1_Click()
{
    txtTb->setText(fromUtf8(engine::shortcutRate(0)));
}

void Form1::Text2_Click()
{
    txtTb->setText(fromUtf8(engine::shortcutRate(1)));
}

void Form1::Text3_Click()
{
    txtTb->setText(fromUtf8(engine::shortcutRate(2)));
}

void Form1::Text4_Click()
{
    txtTb->setText(fromUtf8(engine::shortcutRate(3)));
}

// Step 2: territory.

void Form1::Text2_Change()
{
    List5->clear();
    for (const std::string_view town : engine::findTowns(toUtf8(Text2->text())))
        List5->addItem(fromUtf8(town));
    // The result list grows on the first search and keeps the window's background from then on.
    List5->resize(List5->width(), kGrownTownListTwips / kTwipsPerPixel);
    look::setBaseColour(List5, look::windowColour());
}

namespace {

engine::VehicleKind vehicleKind(const QRadioButton *tractors)
{
    return tractors->isChecked() ? engine::VehicleKind::Tractors : engine::VehicleKind::General;
}

void applyTerritory(
    engine::TerritoryList list, const ListBox *entries, engine::VehicleKind kind, QLineEdit *field)
{
    const QListWidgetItem *item = entries->currentItem();
    if (!item)
        return;
    if (const auto factor = engine::territoryFactor(list, toUtf8(item->text()), kind))
        field->setText(fromUtf8(*factor));
}

} // namespace

void Form1::List5_Click()
{
    applyTerritory(engine::TerritoryList::Towns, List5, vehicleKind(Option2), Text3);
}

void Form1::List6_Click()
{
    applyTerritory(engine::TerritoryList::Moscow, List6, vehicleKind(Option2), Text3);
}

void Form1::List7_Click()
{
    applyTerritory(engine::TerritoryList::MoscowRegion, List7, vehicleKind(Option2), Text3);
}

void Form1::List8_Click()
{
    applyTerritory(engine::TerritoryList::Petersburg, List8, vehicleKind(Option2), Text3);
}

void Form1::List9_Click()
{
    applyTerritory(engine::TerritoryList::SmallSettlements, List9, vehicleKind(Option2), Text3);
}

// A switch of vehicle kind leaves KT empty until a settlement is chosen again.
void Form1::Option1_Click()
{
    Text3->clear();
}

void Form1::Option2_Click()
{
    Text3->clear();
}

// Step 3: bonus-malus.

void Form1::Combo1_Click()
{
    if (const auto factor = engine::classFactor(toUtf8(Combo1->currentText())))
        Text4->setText(fromUtf8(*factor));
}

void Form1::Combo5_Click()
{
    const auto end = engine::classAfterTerm(toUtf8(Combo1->currentText()), toUtf8(Combo5->currentText()));
    if (!end)
        return;
    Text13->setText(fromUtf8(*end));
    Text4->setText(fromUtf8(engine::classFactor(*end).value()));
}

void Form1::Option10_Click()
{
    Combo5->hide();
    Text13->hide();
    Label49->hide();
    Label50->hide();
}

void Form1::Option11_Click()
{
    Combo5->show();
    Text13->show();
    Label49->show();
    Label50->show();
}

// Steps 4 to 8.

void Form1::List10_Click()
{
    applyFactor(engine::kDriverRows, currentEntry(List10), Text5);
}

void Form1::List11_Click()
{
    applyFactor(engine::kAdmittedDriverRows, currentEntry(List11), Text6);
}

void Form1::List12_Click()
{
    applyFactor(engine::kEnginePowerRows, currentEntry(List12), Text7);
}

void Form1::Combo2_Click()
{
    applyFactor(engine::kUsePeriodRows, Combo2->currentText(), Text8);
}

void Form1::Combo3_Click()
{
    applyFactor(engine::kTermRows, Combo3->currentText(), Text9);
}

// Premium page.

// The fields as "ОК" and the report read them, in one place.
engine::FieldSnapshot Form1::fieldSnapshot() const
{
    engine::FieldSnapshot fields;
    for (const CategoryOption &option : kCategoryOptions) {
        const auto *button = qobject_cast<const QRadioButton *>(control(fromUtf8(option.name)));
        if (button && button->isChecked()) {
            fields.category = option.category;
            break;
        }
    }
    fields.excludeKp = Check1->isChecked();
    fields.texts = {toUtf8(txtTb->text()),
        toUtf8(Text3->text()),
        toUtf8(Text4->text()),
        toUtf8(Text5->text()),
        toUtf8(Text6->text()),
        toUtf8(Text7->text()),
        toUtf8(Text8->text()),
        toUtf8(Text9->text()),
        toUtf8(Combo4->currentText())};
    return fields;
}

void Form1::Command2_Click()
{
    const engine::PremiumOutcome outcome = engine::premiumOf(fieldSnapshot());
    if (outcome.status == engine::PremiumOutcome::Status::Ok) {
        Text10->setText(fromUtf8(engine::formatFactorText(outcome.total))); // "0" warns and empties it
        return;
    }
    m_desktop.inform(this, fromUtf8(engine::premiumProblem(outcome)));
    // No total without its factors: an earlier total must not stand beside the fields that failed.
    Text10->clear();
}

void Form1::Text10_Change()
{
    if (Text10->text() == u"0") {
        m_desktop.inform(this, fromUtf8(engine::kZeroWarning));
        Text10->clear();
    }
}

// The report copies the fields as they stand, computing nothing; it is written first and confirmed
// after, and a failure is reported with the file and the reason while every field stays as it was.
void Form1::Command7_Click()
{
    const report::ReportInput input{
        fieldSnapshot(), toUtf8(Text10->text()), toUtf8(Text11->text()), toUtf8(Text12->text())};

    const std::filesystem::path folder = reportFolder(m_files);
    const std::filesystem::path dataFolder(QFile::encodeName(m_files.dataFolder).toStdString());
    const auto tell = [this](const report::WriteResult &result) {
        if (result.ok)
            m_desktop.inform(this, fromUtf8(report::savedMessage(result)));
        else
            m_desktop.warn(this, fromUtf8(report::failureMessage(result)));
    };
    if (Option8->isChecked())
        tell(report::writeTextReport(input, folder));
    if (Option9->isChecked())
        tell(
            report::writeDocumentReport(input, folder, readReportPicture(dataFolder / report::kPictureName)));
}

// Help pages, links and exit. What the desktop answers changes nothing in the window.

void Form1::Command1_Click()
{
    m_desktop.open(Module1::helpPage(m_files.dataFolder, fromUtf8(Module1::kNotePage)));
}

void Form1::Command3_Click()
{
    m_desktop.open(Module1::helpPage(m_files.dataFolder, fromUtf8(Module1::kStructurePage)));
}

void Form1::Command4_Click()
{
    m_desktop.open(Module1::helpPage(m_files.dataFolder, fromUtf8(Module1::kTariffPage)));
}

void Form1::Command5_Click()
{
    m_desktop.open(Module1::helpPage(m_files.dataFolder, fromUtf8(Module1::kExamplePage)));
}

void Form1::Label45_Click()
{
    m_desktop.open(Module1::webAddress(Label45->text()));
}

void Form1::Label46_Click()
{
    m_desktop.open(Module1::mailMessage(Label46->text()));
}

void Form1::Command6_Click()
{
    close();
}

} // namespace window
