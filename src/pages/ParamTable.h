#pragma once

#include "panel/PanelExchange.h"

#include <QString>
#include <QStringList>

#include <climits>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// How a page's value reaches its control and comes back: a text (an edit
// box, a grid cell) or a number (a combo box's item index, a check box as
// 0/1, a spin box, a radio group). Page widgets get theirs from
// FieldBindings.h; tests and unusual controls give their own functions.
// Caption, when given, says what the control is called on the page.
struct TFieldBinding {
    std::function<QString()> GetText{};
    std::function<void(const QString&)> SetText{};
    std::function<int()> GetNumber{};
    std::function<void(int)> SetNumber{};
    std::function<QString()> Caption{};
};

// One value a page holds in one control: its settings-file key (none: not
// in the file), its default and its control. Text values go to the file as
// they stand; a text key missing from a file empties the control. Number
// values go as decimal integers; a number key that is missing, not a
// decimal integer or outside Min..Max makes the page take its defaults.
class TPageField {
public:
    enum TKind { fkText, fkNumber };

    TPageField(TKind kind, QString key, TFieldBinding control);

    TKind Kind;
    QString Key;
    // What the value is called where a user reads it (a comparison with a
    // file); empty: the control's own caption, or else the key.
    QString Caption;
    QString DefaultText;
    int DefaultNumber = 0;
    int Min = INT_MIN;
    int Max = INT_MAX;
    TFieldBinding Control;

    QString Text() const { return Control.GetText(); }
    void SetText(const QString& text) const { Control.SetText(text); }
    int Number() const { return Control.GetNumber(); }
    void SetNumber(int number) const { Control.SetNumber(number); }

    void SetDefault() const;
    // "Key=value".
    QString SettingsLine() const;
    // Caption, else the control's caption, else the key.
    QString CaptionText() const;
};

// One panel parameter: the read command (the value is the answer's value
// line), the write (WriteCommand, or Command when empty, followed directly
// by the value), the names the error list shows when it fails, and the
// codec between the panel's value and the page's controls. A codec may
// work on several fields (one "+disp" value for a check box and a time
// list), and Encode may put what it sends back into its control (the page
// then shows what it wrote).
struct TPageParam {
    QString Command{};
    QString ReadName{};
    // Panel value to controls; false when the value cannot be used (the
    // read is then listed as failed and the controls must be unchanged).
    // Empty: the parameter is never read.
    std::function<bool(const QString& value)> Decode{};
    // Controls to panel value; nullopt when there is nothing that can be
    // sent (listed as failed, nothing sent). Empty: never written.
    std::function<std::optional<QString>()> Encode{};
    QString WriteName{}; // ReadName when empty
    QString WriteCommand{};
    uint32_t TimeOut = ExchangeTimeout::Param;
    // Instead of Decode, for a parameter whose whole answer counts (every
    // line, the final "OK" included).
    std::function<bool(const QStringList& lines)> DecodeAnswer{};
    // After a write the panel answered with "OK": given the value sent and
    // the answer lines, the error-list entry for a write that did not take
    // after all (a text parameter written empty goes out as its read
    // command, and the panel answers with the value it keeps); nullopt when
    // the write took.
    std::function<std::optional<QString>(const QString& value, const QStringList& answer)> CheckWrite{};

    bool Readable() const { return Decode || DecodeAnswer; }
    bool Writable() const { return bool(Encode); }
    QString WriteCommandName() const { return WriteCommand.isEmpty() ? Command : WriteCommand; }
    QString WriteErrorName() const { return WriteName.isEmpty() ? ReadName : WriteName; }
};

// The values a settings file holds for a page's fields, looked up all at
// once so that the page can decide before it changes anything.
class TSettingsLoad {
public:
    // Every number converted and lies within its field's range.
    bool Usable() const { return fUsable; }
    // Puts one field's value into its control now (a page whose controls
    // depend on each other takes one field first); a field is applied once.
    void Apply(const TPageField& field);
    // Puts the fields not applied yet into their controls, in page order.
    void ApplyAll();

private:
    friend class TParamTable;
    struct TValue {
        const TPageField* Field;
        QString Text;
        int Number = 0;
        bool Applied = false;
    };
    void ApplyValue(TValue& value);
    std::vector<TValue> fValues;
    bool fUsable = true;
};

// A page's description: its fields in settings-file order and its panel
// parameters in command order. The page base reads, writes, defaults, saves
// and loads the page by walking it; a page keeps only its quirks as code.
class TParamTable {
public:
    TPageField& Text(const QString& key, TFieldBinding control, const QString& defaultText = {});
    TPageField& Number(const QString& key, TFieldBinding control, int defaultNumber = 0, int min = INT_MIN,
                       int max = INT_MAX);
    TPageParam& Param(TPageParam param);
    // A text parameter: the value goes into the field as it comes and is
    // written as the field holds it.
    TPageParam& TextParam(const QString& command, const QString& readName, const TPageField& field,
                          const QString& writeName = {});

    const std::deque<TPageField>& Fields() const { return fFields; }
    const std::deque<TPageParam>& Params() const { return fParams; }
    // The field of a settings-file key (its case not counted), or none.
    const TPageField* FindField(const QString& key) const;

    // Every readable parameter in order; failures are listed in `errors`
    // and leave their controls alone.
    void Read(TPanelExchange& exchange, QStringList& errors) const;
    // Every writable parameter in order; an answer without "OK" lists it.
    void Write(TPanelExchange& exchange, QStringList& errors) const;
    // One parameter; true when it succeeded.
    static bool ReadParam(TPanelExchange& exchange, const TPageParam& param, QStringList& errors);
    static bool WriteParam(TPanelExchange& exchange, const TPageParam& param, QStringList& errors);

    void SetDefault() const;
    // Appends every keyed field's "Key=value" line, in field order.
    void GetSettings(QStringList& lines) const;
    TSettingsLoad LoadSettings(const QStringList& lines) const;

private:
    std::deque<TPageField> fFields;
    std::deque<TPageParam> fParams;
};

// A read of one value: the answer's value line. A failed exchange, an
// answer of a lone "OK" (it carries no value) or a value that has not the
// form of the command's (ValueShapes.h) is a failed read and leaves `value`
// as it was.
bool ReadValue(TPanelExchange& exchange, const QString& command, QString& value, uint32_t timeOut);
