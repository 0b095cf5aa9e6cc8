#pragma once

#include <QString>

class MyPushButton;
class MyTempButton2;
class QLabel;
class QWidget;

// The look both update dialogs share: the dark panel, the title-bar cross,
// the separator line, the program icon and the light grey button.
void ApplyUpdatePanel(QWidget* panel, QWidget* line);
void ApplyUpdateCross(MyPushButton* cross);
void ShowProgramIcon(QLabel* label);
void ApplyGreyButton(MyTempButton2* button);
// A label's style: font size in units, colour and weight.
QString UpdateLabelSheet(int fontUnits, const char* colour, int weight = 400);
