#pragma once

#include "Query.h"

#include <string>
#include <vector>

namespace vorlu::data {

class Connection;

// A column of PACIENTES as the program expects it.
struct PatientColumn {
    const char* name;
    FieldType type;
    bool notNull;
    int width; // characters, for text columns; 0 otherwise
};

// The 21 columns of PACIENTES in the table's column order.
const std::vector<PatientColumn>& patientColumns();

// The field objects of the record screen's dataset, one per column.
std::vector<FieldDef> patientFieldDefs();

// The statements that create the tables the program relies on. The program never runs them:
// the other modules own the schema. The database tool and the tests do.
std::vector<std::string> schemaStatements();

// Creates PACIENTES and CONSULTAS in a new, empty database at the location.
void createSchema(const std::string& location, int dialect = 3);

// Compares a database with what the program expects; one line for each mismatch, none when
// the database meets every expectation.
std::vector<std::string> checkSchema(Connection& connection);

} // namespace vorlu::data
