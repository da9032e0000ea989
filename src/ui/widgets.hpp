// Qt widgets made from rows of the form's controls table.
#pragma once

#include <QFont>

#include "form/controls.hpp"

class QWidget;

namespace oradel {

// The window's font: the table's families at its pixel height, scaled.
QFont WindowFont();

// A widget of the row's type under `parent`, named, styled and placed as the row says.
QWidget* NewWidget(const ControlRow& row, QWidget* parent);

}  // namespace oradel
