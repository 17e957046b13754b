#pragma once

#include <QStringList>

namespace vorlu::controls {

// The items of the record screen's pick lists, in their order.
QStringList sexItems();       // txtSexo
QStringList ethnicityItems(); // txtEtinia
QStringList stateItems();     // txtUF: the federative units with "EX", and an empty item last
QStringList cityItems();      // txtCidade: an empty item first, then the compiled-in city list

} // namespace vorlu::controls
