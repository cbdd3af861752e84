#pragma once

#include "framework/core/GrowBuffer.h"

#include <atomic>

// One host parameter: its kind, range, step, shape, default, current plain value, names
// and display texts. Conversions between the host's normalised 0..1 values and plain
// values, and every text shown for a value, go through here.
class IPlugParameter
{
public:
  enum EType
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  static constexpr int kTextSize = 32;  // name, label, group and display texts, NUL included
  static constexpr int kMaxPrecision = 6;

  IPlugParameter();

  IPlugParameter(const IPlugParameter&) = delete;
  IPlugParameter& operator=(const IPlugParameter&) = delete;

  void DefineDouble(const char* name, double defaultValue, double min, double max, double step, const char* label = "",
                    const char* group = "", double shape = 1.0);
  void DefineBool(const char* name, bool defaultValue, const char* label = "", const char* group = "");

  // Sets the value from a normalised one; input outside [0, 1] is clamped, NaN taken as 0.
  void SetFromNormal(double normalised);
  // Sets a plain value clamped to the range; NaN is refused (false, nothing changes).
  bool SetPlain(double value);

  double Normal() const;
  double NormalOf(double plain) const;

  // Writes the text shown for a value into out (capacity bytes, NUL included).
  void DisplayText(double value, bool normalised, char* out, int capacity, bool useTexts = true) const;
  // The current value as a number, without display texts.
  void PlainDisplay(char* out, int capacity) const;

  const char* NameText() const { return mName; }
  const char* UnitLabel() const;
  const char* GroupText() const { return mGroup; }

  // Appends a display text for an integer value; false when the table could not grow.
  bool AddDisplayText(int value, const char* text);
  int TextCount() const;
  // The text of entry index of the table, in the order the texts were added ("" out of range).
  const char* TextAt(int index) const;
  const char* TextForValue(int value) const;
  bool ValueForText(const char* text, int* value) const;

  int Type() const { return mType; }
  // Out of line: inlined into a caller holding a parameter pointer that may be null, the
  // atomic load draws a false overflow warning from GCC.
  double Value() const;
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int Precision() const { return mPrecision; }
  bool NegateDisplay() const { return mNegateDisplay; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  bool Automatable() const { return mAutomatable; }

private:
  struct TextEntry
  {
    int value;
    char text[kTextSize];
  };

  const TextEntry* Entries() const { return static_cast<const TextEntry*>(mTexts.Data()); }
  // The first entry for the value, or null.
  const TextEntry* EntryFor(int value) const;

  int mType = kTypeNone;
  // The host's controller thread reads and writes the value while the audio thread does,
  // without the plug-in lock; the other fields are fixed once the parameter is defined.
  // A relaxed atomic makes each access whole and costs nothing on x86.
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  bool mNegateDisplay = false;
  bool mAutomatable = true;
  GrowBuffer mTexts;
};

// Text helpers shared by the framework (numbers as text: NumberText.h).
void CopyText(char* out, int capacity, const char* text);
// Truncates toward zero, saturating at the int range (NaN gives 0).
int TruncateToInt(double value);
