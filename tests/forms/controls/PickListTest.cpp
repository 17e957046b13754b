#include "FieldHost.h"

#include "assets/Cidades.h"
#include "forms/controls/PickList.h"
#include "forms/controls/PickLists.h"
#include "toolkit/testing/QtTestMain.h"

#include <QAbstractItemView>
#include <QApplication>

using namespace vorlu::controls;
using vorlu::controls::testing::BeepCounter;
using vorlu::controls::testing::FieldHost;

namespace {
enum class List { Sex, Ethnicity, State, City };

QStringList itemsOf(List list)
{
    switch (list) {
    case List::Sex: return sexItems();
    case List::Ethnicity: return ethnicityItems();
    case List::State: return stateItems();
    case List::City: return cityItems();
    }
    return {};
}
} // namespace

Q_DECLARE_METATYPE(List)

class PickListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }

    void listsOfTheRecordScreen();
    void typeAhead_data();
    void typeAhead();
    void typingStartsOverOnEntry();
    void arrowKeysAndTheEmptyItem();
    void dropsDownOnRequest();
    void readOnlyTakesNothing();
    void programValue_data();
    void programValue();
    void foreignValueStaysUntilTheNextLoad();
    void popupIsNoExit();
    void centredText();
};

void PickListTest::listsOfTheRecordScreen()
{
    QCOMPARE(sexItems(), (QStringList{"MASCULINO", "FEMININO"}));
    QCOMPARE(ethnicityItems(), (QStringList{QString("ASIÁTICO"), "BRANCO", "AFRO-DESCENDENTE"}));

    const QStringList states = stateItems();
    QCOMPARE(states.size(), 29);
    QCOMPARE(states.last(), QString());
    QVERIFY(states.contains("EX"));
    QStringList sorted = states.mid(0, 28);
    sorted.sort();
    QCOMPARE(sorted, states.mid(0, 28));

    const QStringList cities = cityItems();
    const auto names = vorlu::assets::cidades();
    QCOMPARE(cities.size(), qsizetype(names.size()) + 1);
    QCOMPARE(cities.first(), QString());
    QCOMPARE(cities.at(1), QString::fromUtf8(names.front()));
    QCOMPARE(cities.last(), QString("ZORTEA"));
    QVERIFY(cities.contains("SAO PAULO"));
    QVERIFY(cities.contains("APARECIDA D'OESTE"));
}

void PickListTest::typeAhead_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");

    QTest::newRow("first state with S") << List::State << "S" << "SC" << "S";
    QTest::newRow("two letters") << List::State << "SP" << "SP" << "SP";
    QTest::newRow("lower case typed") << List::State << "sp" << "SP" << "SP";
    QTest::newRow("EX") << List::State << "EX" << "EX" << "EX";
    QTest::newRow("no item goes on: start over") << List::State << "SR" << "RJ" << "R";
    QTest::newRow("no item at all: kept") << List::State << "SW" << "SC" << "S";
    QTest::newRow("city with blanks") << List::City << "sao paulo" << "SAO PAULO" << "SAO PAULO";
    QTest::newRow("city prefix") << List::City << "SAO PAULO D" << "SAO PAULO DAS MISSOES" << "SAO PAULO D";
    QTest::newRow("city with apostrophe") << List::City << "aparecida d'" << "APARECIDA D'OESTE" << "APARECIDA D'";
    QTest::newRow("accented item") << List::Ethnicity << "asi" << QString("ASIÁTICO") << "asi";
    QTest::newRow("ethnicity second letter") << List::Ethnicity << "af" << "AFRO-DESCENDENTE" << "af";
    QTest::newRow("sex") << List::Sex << "f" << "FEMININO" << "f";
}

void PickListTest::typeAhead()
{
    QFETCH(List, list);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QString, typed);

    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(itemsOf(list));
    QVERIFY(host.showActive());
    pick->setFocus(Qt::TabFocusReason);
    int activated = 0;
    connect(pick, &QComboBox::activated, this, [&] { ++activated; });
    QTest::keyClicks(pick, keys);
    QCOMPARE(pick->text(), text);
    QCOMPARE(pick->typedPrefix().toUpper(), typed.toUpper());
    QVERIFY(activated > 0);
}

void PickListTest::typingStartsOverOnEntry()
{
    BeepCounter beeps;
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(stateItems());
    QVERIFY(host.showActive());
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(pick, "SP");
    QTest::keyClick(pick, Qt::Key_Backspace);
    QCOMPARE(pick->text(), QString("SC"));
    QTest::keyClick(pick, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), host.next);

    QTest::keyClick(host.next, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClicks(pick, "P");
    QCOMPARE(pick->text(), QString("PA"));
    QCOMPARE(beeps.count(), 0);
    QTest::keyClicks(pick, "W");
    QCOMPARE(beeps.count(), 1);
}

void PickListTest::arrowKeysAndTheEmptyItem()
{
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(stateItems());
    QVERIFY(host.showActive());
    pick->setText("SP");
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pick, Qt::Key_End);
    QCOMPARE(pick->text(), QString()); // the empty item clears the state
    QCOMPARE(pick->currentIndex(), 28);
    QTest::keyClick(pick, Qt::Key_Up);
    QCOMPARE(pick->text(), QString("TO"));
}

void PickListTest::dropsDownOnRequest()
{
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(cityItems());
    QVERIFY(host.showActive());
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(pick, "sao");
    QVERIFY(!pick->view()->isVisible());
    QTest::keyClick(pick, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(pick->view()->isVisible());
    // Opening the list starts the typing over.
    QCOMPARE(pick->typedPrefix(), QString());
    pick->hidePopup();
    QTest::keyClick(pick, Qt::Key_F4);
    QTRY_VERIFY(pick->view()->isVisible());
    pick->hidePopup();
}

void PickListTest::readOnlyTakesNothing()
{
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(stateItems());
    pick->setText("SP");
    pick->setReadOnly(true);
    QVERIFY(host.showActive());
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(pick, "RJ");
    QTest::keyClick(pick, Qt::Key_Down);
    QTest::keyClick(pick, Qt::Key_Down, Qt::AltModifier);
    QTest::mouseClick(pick, Qt::LeftButton);
    QCOMPARE(pick->text(), QString("SP"));
    QVERIFY(!pick->view()->isVisible());
    QTest::keyClick(pick, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), host.next);
}

void PickListTest::programValue_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("foreign");

    QTest::newRow("item") << List::State << "SP" << "SP" << false;
    QTest::newRow("blank state of a CHAR(2)") << List::State << "  " << "" << false;
    QTest::newRow("padded sex") << List::Sex << "FEMININO  " << "FEMININO" << false;
    QTest::newRow("empty clears a state") << List::State << "" << "" << false;
    QTest::newRow("empty clears a sex") << List::Sex << "" << "" << false;
    QTest::newRow("NULL sex") << List::Sex << QString() << "" << false;
    QTest::newRow("accented ethnicity") << List::Ethnicity << QString("ASIÁTICO") << QString("ASIÁTICO") << false;
    // Values another module wrote, none of the items: shown and kept as they are.
    QTest::newRow("one-letter state") << List::State << "S " << "S " << true;
    QTest::newRow("lower-case state") << List::State << "sp" << "sp" << true;
    QTest::newRow("sex as a letter") << List::Sex << "F" << "F" << true;
    QTest::newRow("ethnicity") << List::Ethnicity << "INDÍGENA" << QString("INDÍGENA") << true;
    QTest::newRow("city with accents") << List::City << QString("Brasília") << QString("Brasília") << true;
}

void PickListTest::programValue()
{
    QFETCH(List, list);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(bool, foreign);

    PickList pick;
    pick.setItems(itemsOf(list));
    pick.setText(value);
    QCOMPARE(pick.text(), text);
    QCOMPARE(pick.currentText(), text);
    QCOMPARE(pick.holdsForeignValue(), foreign);
    QCOMPARE(pick.items(), itemsOf(list));
}

void PickListTest::foreignValueStaysUntilTheNextLoad()
{
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(sexItems());
    QVERIFY(host.showActive());
    pick->setText("F");
    QCOMPARE(pick->count(), 3);
    pick->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(pick, "m");
    QCOMPARE(pick->text(), QString("MASCULINO"));
    QVERIFY(!pick->holdsForeignValue());
    // Still in the list, so the user can go back to it.
    QTest::keyClick(pick, Qt::Key_Home);
    QCOMPARE(pick->text(), QString("F"));

    pick->setText("FEMININO");
    QCOMPARE(pick->count(), 2);
    QCOMPARE(pick->text(), QString("FEMININO"));
}

void PickListTest::popupIsNoExit()
{
    FieldHost host;
    auto* pick = host.add(new PickList);
    pick->setItems(stateItems());
    pick->setText("AC");
    QVERIFY(host.showActive());
    pick->setFocus(Qt::TabFocusReason);
    int exited = 0;
    int entered = 0;
    connect(pick, &PickList::exited, this, [&] { ++exited; });
    connect(pick, &PickList::entered, this, [&] { ++entered; });
    pick->showPopup();
    QTRY_VERIFY(pick->view()->isVisible());
    QTest::keyClick(pick->view(), Qt::Key_Down);
    QTest::keyClick(pick->view(), Qt::Key_Return);
    QTRY_VERIFY(!pick->view()->isVisible());
    QCOMPARE(pick->text(), QString("AL"));
    QCOMPARE(exited, 0);
    QCOMPARE(entered, 0);
    QTest::keyClick(pick, Qt::Key_Tab);
    QCOMPARE(exited, 1);
}

namespace {
// The leftmost column holding a text pixel (navy) in the field's picture; -1 when none.
int leftmostTextColumn(PickList& pick)
{
    const QImage image = pick.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 80 && c.red() < 60 && c.green() < 60)
                return x;
        }
    }
    return -1;
}
} // namespace

void PickListTest::centredText()
{
    PickList pick;
    pick.setItems(sexItems());
    pick.setText("FEMININO");
    pick.resize(200, 24);
    QPalette palette = pick.palette();
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 128));
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    pick.setPalette(palette);

    const int left = leftmostTextColumn(pick);
    pick.setAlignment(Qt::AlignCenter);
    const int centred = leftmostTextColumn(pick);
    QVERIFY(left >= 0);
    QVERIFY2(centred > left + 30, qPrintable(QString("left %1, centred %2").arg(left).arg(centred)));
}

VORLU_QTEST_MAIN(PickListTest)
#include "PickListTest.moc"
