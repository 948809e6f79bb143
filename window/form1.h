// Form1: the program's one window. Ten tabs: nine steps, one per tariff factor, and the premium page.
// Each step writes its factor, as factor text, into a field of its own; "ОК" reads the fields that the
// chosen vehicle category uses and writes the premium; the report copies the fields.
//
//   tab  step                     chosen in                         field
//   1    ТБ base rate             List1, List2, List3               txtTb (Text1: the same as percent)
//   2    КТ territory             Option1/2, List5-List9, Text2     Text3
//   3    КБМ bonus-malus          Combo1, Option10/11, Combo5       Text4 (Text13: class at the end)
//   4    КВС age and experience   List10                            Text5
//   5    КО admitted drivers      List11                            Text6
//   6    КМ engine power          List12                            Text7
//   7    КС period of use         Combo2                            Text8
//   8    КП insurance term        Combo3 (Check1 leaves КП out)     Text9
//   9    КН violations            Combo4 (its text is the factor)   Combo4
//   10   premium                  Option3-Option7, Command2 "ОК"    Text10
//
// Nothing else carries a value from one step to another, and nothing is kept between runs.
#pragma once

#include "window/controls.h"
#include "window/program_files.h"

#include <QCheckBox>
#include <QFrame>
#include <QHash>
#include <QRadioButton>
#include <QWidget>

namespace engine {
struct FieldSnapshot;
}

namespace window {

class Desktop;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // programFolder: the folder of the executable; ProgramFiles tells from it where the help pages and
    // the picture lie and where the reports go.
    Form1(Desktop &desktop, const QString &programFolder, QWidget *parent = nullptr);

    // The control with this name, as the window's inventory names it.
    QWidget *control(const QString &name) const;

private:
    void findControls(); // the members below, by name
    void bindHandlers();
    void centreOnScreen();
    void showEvent(QShowEvent *event) override;
    engine::FieldSnapshot fieldSnapshot() const;

    void Form_Load();
    // Step 1
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void Text1_Click();
    void Text2_Click();
    void Text3_Click();
    void Text4_Click();
    // Step 2
    void Text2_Change();
    void List5_Click();
    void List6_Click();
    void List7_Click();
    void List8_Click();
    void List9_Click();
    void Option1_Click();
    void Option2_Click();
    // Step 3
    void Combo1_Click();
    void Combo5_Click();
    void Option10_Click();
    void Option11_Click();
    // Steps 4 to 8
    void List10_Click();
    void List11_Click();
    void List12_Click();
    void Combo2_Click();
    void Combo3_Click();
    // Premium page
    void Command2_Click();
    void Text10_Change();
    void Command7_Click();
    // Help pages, links, exit
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Label45_Click();
    void Label46_Click();
    void Command6_Click();

    template<typename T>
    T *find(const char *name) const;

    Desktop &m_desktop;
    ProgramFiles m_files;
    QHash<QString, QWidget *> m_controls;
    bool m_centred = false;

    TabControl *SSTab1 = nullptr;
    ListBox *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *List4 = nullptr, *List5 = nullptr,
            *List6 = nullptr, *List7 = nullptr, *List8 = nullptr, *List9 = nullptr, *List10 = nullptr,
            *List11 = nullptr, *List12 = nullptr;
    TextBox *txtTb = nullptr, *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr,
            *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text9 = nullptr,
            *Text10 = nullptr, *Text11 = nullptr, *Text12 = nullptr, *Text13 = nullptr;
    ComboBox *Combo1 = nullptr, *Combo2 = nullptr, *Combo3 = nullptr, *Combo4 = nullptr, *Combo5 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr,
                 *Option5 = nullptr, *Option6 = nullptr, *Option7 = nullptr, *Option8 = nullptr,
                 *Option9 = nullptr, *Option10 = nullptr, *Option11 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr;
    QLabel *Label49 = nullptr, *Label50 = nullptr;
    LinkLabel *Label45 = nullptr, *Label46 = nullptr;
};

} // namespace window
