#include "RecordScreenFixture.h"

#include "StartupTestSupport.h"

#include "data/FormatSettings.h"
#include "forms/untPaciente.h"
#include "toolkit/Form.h"

#include "forms/controls/DateEdit.h"
#include "forms/controls/IntegerEdit.h"
#include "forms/controls/PickList.h"
#include "forms/controls/TextEdit.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QTest>

#include <chrono>
#include <stdexcept>

namespace vorlu::testing::paciente {

void pinBrazilianLocale()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    data::setDecimalSeparator(',');
}

Observer::Observer(const std::string& location)
{
    connection_.setDatabaseName(location);
    connection_.setDefaultTransaction(&transaction_);
}

std::optional<std::map<std::string, std::string>> Observer::row(std::int32_t code)
{
    data::Query query(connection_, transaction_);
    query.addSql("SELECT * FROM PACIENTES WHERE PAC_COD__ = " + std::to_string(code));
    query.open();
    std::optional<std::map<std::string, std::string>> result;
    if (!query.isEmpty()) {
        result.emplace();
        for (const auto& field : query.fields())
            (*result)[field->name()] = field->isNull() ? "<null>" : field->asString();
    }
    query.close();
    transaction_.commit();
    return result;
}

std::string Observer::column(std::int32_t code, const std::string& name)
{
    const auto stored = row(code);
    return stored ? stored->at(name) : "<no row>";
}

bool Observer::isNull(std::int32_t code, const std::string& name)
{
    return column(code, name) == "<null>";
}

std::vector<std::uint8_t> Observer::blob(std::int32_t code, const std::string& name)
{
    data::Query query(connection_, transaction_);
    query.addSql("SELECT " + name + " FROM PACIENTES WHERE PAC_COD__ = " + std::to_string(code));
    query.open();
    data::MemoryStream stream;
    query.fieldByName(name).saveToStream(stream);
    query.close();
    transaction_.commit();
    return stream.bytes();
}

double Observer::number(std::int32_t code, const std::string& name)
{
    data::Query query(connection_, transaction_);
    query.addSql("SELECT " + name + " FROM PACIENTES WHERE PAC_COD__ = " + std::to_string(code));
    query.open();
    const double value = query.fieldByName(name).asFloat();
    query.close();
    transaction_.commit();
    return value;
}

std::vector<std::int32_t> Observer::codes()
{
    data::Query query(connection_, transaction_);
    query.addSql("SELECT PAC_COD__ FROM PACIENTES ORDER BY PAC_COD__");
    query.open();
    std::vector<std::int32_t> result;
    while (!query.eof()) {
        result.push_back(query.fieldByName("PAC_COD__").asInteger());
        query.next();
    }
    query.close();
    transaction_.commit();
    return result;
}

void Observer::exec(const std::string& statement)
{
    data::Query query(connection_, transaction_);
    query.addSql(statement);
    query.execSql();
    transaction_.commit();
}

void Observer::insertPatient(std::int32_t code, const std::string& name)
{
    exec("INSERT INTO PACIENTES (PAC_COD__, PAC_INC__, PAC_NOM__, PAC_SEX__, PAC_ETN__, PAC_NAS__, PAC_PES__) VALUES ("
         + std::to_string(code) + ", '2020-01-10', '" + name + "', 'MASCULINO', 'BRANCO', '1980-05-20', 80)");
}

namespace {

forms::TfrmPaciente& startScreen(forms::TfrmPaciente& screen)
{
    screen.startupSequence().setSplashPause(std::chrono::milliseconds(0));
    screen.startupSequence().setTerminate([] { throw std::runtime_error("the start-up ended the program"); });
    screen.show();
    screen.activateWindow();
    if (!QTest::qWaitForWindowActive(&screen))
        qWarning("the record screen did not become active");
    flushDeferredDeletes();
    return screen;
}

} // namespace

forms::TfrmPaciente& showRecordScreen()
{
    forms::frmPaciente.ensure();
    return startScreen(*forms::frmPaciente);
}

forms::TfrmPaciente* showOtherRecordScreen()
{
    return &startScreen(*toolkit::CreateForm<forms::TfrmPaciente>());
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

void typeInto(QWidget* field, const QString& text)
{
    field->setFocus(Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    typeText(field, text);
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            QTest::keyClick(widget, char(ch.unicode()));
            continue;
        }
        const char16_t upper = ch.toUpper().unicode();
        const Qt::Key key = upper <= 0xff ? Qt::Key(upper) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
    }
}

void pressEnter(QWidget* widget, bool shift)
{
    QTest::keyClick(widget, Qt::Key_Return, shift ? Qt::ShiftModifier : Qt::NoModifier);
}

void fillRequired(forms::TfrmPaciente& screen, const QString& name)
{
    typeInto(screen.txtNome, name);
    screen.txtSexo->setFocus(Qt::TabFocusReason);
    typeText(screen.txtSexo, QStringLiteral("M"));
    screen.txtEtinia->setFocus(Qt::TabFocusReason);
    typeText(screen.txtEtinia, QStringLiteral("B"));
    typeInto(screen.txtNascimento, QStringLiteral("20051990"));
    typeInto(screen.txtPeso, QStringLiteral("72"));
}

QString writeJpegFile(const QString& folder, const QString& name, int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder + QLatin1Char('/') + name;
    if (!image.save(path, "JPEG", 95))
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

} // namespace vorlu::testing::paciente
