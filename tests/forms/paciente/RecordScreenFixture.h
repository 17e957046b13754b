#pragma once

#include "data/Connection.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QRgb>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vorlu::forms {
class TfrmPaciente;
}

namespace vorlu::testing::paciente {

// Dates as DD/MM/YYYY, a comma for decimals, whatever the machine says.
void pinBrazilianLocale();

// A second workstation's look at the database: every read is its own committed-read
// transaction, so it sees exactly what the screen has committed.
class Observer {
public:
    explicit Observer(const std::string& location);

    // The stored row as text (NULL as "<null>"), or nothing when no row has the code.
    std::optional<std::map<std::string, std::string>> row(std::int32_t code);
    // One column of the row, read as text; "<no row>" when there is none.
    std::string column(std::int32_t code, const std::string& name);
    bool isNull(std::int32_t code, const std::string& name);
    std::vector<std::uint8_t> blob(std::int32_t code, const std::string& name);
    double number(std::int32_t code, const std::string& name);
    std::vector<std::int32_t> codes();
    // Runs a statement and commits it.
    void exec(const std::string& statement);
    // A patient with the fields a save requires, committed.
    void insertPatient(std::int32_t code, const std::string& name);

private:
    data::Connection connection_;
    data::Transaction transaction_{connection_};
};

// Creates the record screen as frmPaciente on the database in the settings, and shows it
// (start-up with no splash pause); fails the test if start-up ends the program.
forms::TfrmPaciente& showRecordScreen();
// Creates another record screen (a second workstation in the same process).
forms::TfrmPaciente* showOtherRecordScreen();

// A click with the mouse, the road a user takes (focus moves to the button first).
void click(QWidget* widget);
// Gives the field the focus as Tab would, selects its text and types over it.
void typeInto(QWidget* field, const QString& text);
// Types key by key into the focused control, also letters outside ASCII.
void typeText(QWidget* widget, const QString& text);
void pressEnter(QWidget* widget, bool shift = false);

// Fills the fields a save needs with valid values.
void fillRequired(forms::TfrmPaciente& screen, const QString& name);

// A small JPEG of a colour, written to a file, for the photo dialog to return.
QString writeJpegFile(const QString& folder, const QString& name, int width, int height, QRgb colour);

} // namespace vorlu::testing::paciente
