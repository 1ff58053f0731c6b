#pragma once

#include "link/mark_field_checks.h"
#include "ui/prompts.h"
#include "ui/station_state.h"

#include <QString>
#include <optional>

class QGridLayout;
class QLineEdit;
class QWidget;

namespace vcompose
{

// A read-only number that only its arrows change.
QLineEdit *readOnlyNumber(QWidget *parent, const char *name, const QString &value);

// Label, the field and, for an arrowed field, its up and down arrows (named name + "Up" and
// name + "Down") on one row of a grid.
void addFieldRow(QGridLayout &grid, int row, const QString &label, QLineEdit *field,
                 const char *arrows = nullptr);

// The field's text as a whole number, blanks at its ends ignored.
std::optional<int> wholeNumber(const QString &text);

// The text with every blank taken out, as the number fields read what was typed.
QString blanksRemoved(QString text);

// A refused field as the dialogs answer it: the box when the refusal is shown, the beep when it
// beeps, then the focus on the field (when there is one). True when it refused.
bool fieldRefused(const vlink::FieldRefusal &refusal, QLineEdit *field, vui::Prompts &prompts);

} // namespace vcompose
