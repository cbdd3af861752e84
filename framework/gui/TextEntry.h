#pragma once

class IPlugParameter;

// The rules of the value prompt's text entry that do not depend on the window system.

// Whether the entry for the parameter takes the typed character. Numbers of whole-valued
// parameters take digits and signs, other numbers also a point; backspace always passes;
// without a parameter everything does.
bool TextEntryAccepts(const IPlugParameter* param, int character);

// The plain value a committed text stands for: the value of the matching display text for
// switches and lists, else the number the text starts with (negated for parameters shown
// negated). A text that is neither gives 0.
double EnteredValue(const IPlugParameter& param, const char* text);
