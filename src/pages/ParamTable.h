#pragma once

#include "panel/PanelExchange.h"

#include <QString>
#include <QStringList>

#include <climits>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A value a page keeps outside its table, in a control of its own: get and
// set its text or number, and what the control is called. A field given one
// holds no value itself and tells no change.
struct TFieldBinding {
    std::function<QString()> GetText{};
    std::function<void(const QString&)> SetText{};
    std::function<int()> GetNumber{};
    std::function<void(int)> SetNumber{};
    std::function<QString()> Caption{};
};

class TParamTable;

// One value a page holds: its settings-file key (none: not in the file), its
// caption, its default and the value itself. Text values go to the file as
// they stand; a text key missing from a file empties the value. Number
// values go as decimal integers; a number key that is missing or not a
// decimal integer makes the page take its defaults. A decimal integer
// outside Min..Max is still taken as the field's number (a list then shows
// no item, and the page's write refuses to send a value it cannot stand
// for), and the load names it among the values it could not take.
//
// A number may pick an item of a list (Items above 0): a number that is no
// item (one the panel sent beyond the list, a list not filled yet) stays as
// it is, and Item() says there is no item for it.
class TPageField {
public:
    enum TKind { fkText, fkNumber };

    TPageField(TParamTable& table, TKind kind, QString key, TFieldBinding control = {});

    TKind Kind;
    QString Key;
    // What the value is called where a user reads it (a comparison with a
    // file); empty: the control's caption when there is a control, else the
    // key.
    QString Caption;
    QString DefaultText;
    int DefaultNumber = 0;
    int Min = INT_MIN;
    int Max = INT_MAX;
    // The number of items of the list the number picks from; 0: no list.
    int Items = 0;
    // A list left without selection (-1) goes to a settings file as this
    // number (the item a write sends for it) when given. Any other number
    // that is no item goes as it stands, unless KeptKey carries it.
    std::optional<int> SavedWithoutItem;
    // A list number that is no item and that the key cannot carry (the key
    // allows Min..Max only) but that lies within 0..KeptMax: the key then
    // holds the nearest number it allows, and this key the number itself,
    // loaded back over the key's value. Empty: no such key.
    QString KeptKey;
    int KeptMax = INT_MAX;
    TFieldBinding Control;

    QString Text() const;
    int Number() const;
    // The value set; the table tells its owner when it changed.
    void SetText(const QString& text);
    void SetNumber(int number);
    // The list item the number is; none when it is no item of the list.
    std::optional<int> Item() const;

    void SetDefault();
    // "Key=value".
    QString SettingsLine() const;
    // "KeptKey=number" for a number the key cannot carry; empty otherwise.
    QString KeptLine() const;
    // Caption, else the control's caption, else the key.
    QString CaptionText() const;

private:
    bool Bound() const;

    TParamTable* fTable;
    QString fText;
    int fNumber = 0;
};

// One panel parameter: the read command (the value is the answer's value
// line), the write (WriteCommand, or Command when empty, followed directly
// by the value), the names the error list shows when it fails, and the
// codec between the panel's value and the page's fields. A codec may work
// on several fields (one "+disp" value for a check box and a time list),
// and Encode may put what it sends back into its field (the page then
// shows what it wrote).
//
// Raw is the value exactly as the panel gave it at the last read that
// succeeded, and WasRead whether there was one.
struct TPageParam {
    QString Command{};
    QString ReadName{};
    // Panel value to fields; false when the value cannot be used (the read
    // is then listed as failed and the fields must be unchanged). Empty:
    // the parameter is never read.
    std::function<bool(const QString& value)> Decode{};
    // Fields to panel value; nullopt when there is nothing that can be
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
    // A free text: an answer of "OK" alone is the empty value (a panel
    // holding an empty text sends no value line), not a failed read.
    bool TextValue = false;
    QString Raw{};
    bool WasRead = false;

    bool Readable() const { return Decode || DecodeAnswer; }
    bool Writable() const { return bool(Encode); }
    QString WriteCommandName() const { return WriteCommand.isEmpty() ? Command : WriteCommand; }
    QString WriteErrorName() const { return WriteName.isEmpty() ? ReadName : WriteName; }
};

// The values a settings file holds for a page's fields, looked up all at
// once so that the page can decide before it changes anything.
class TSettingsLoad {
public:
    // Every number key is there and converted.
    bool Usable() const { return fUsable; }
    // The file's lines ("Key=value") of the numbers outside their fields'
    // ranges: taken as they are, but no item of the page stands for them.
    const QStringList& Refused() const { return fRefused; }
    // Puts one field's value in now (a page whose fields depend on each
    // other takes one field first); a field is applied once.
    void Apply(const TPageField& field);
    // Puts the fields not applied yet in, in page order.
    void ApplyAll();

private:
    friend class TParamTable;
    struct TValue {
        TPageField* Field;
        QString Text;
        int Number = 0;
        bool Applied = false;
    };
    void ApplyValue(TValue& value);
    std::vector<TValue> fValues;
    QStringList fRefused;
    bool fUsable = true;
};

// A page's description with its values: its fields in settings-file order
// and its panel parameters in command order. The page model reads, writes,
// defaults, saves and loads the page by walking it; a page keeps only its
// quirks as code.
class TParamTable {
public:
    TParamTable() = default;
    TParamTable(const TParamTable&) = delete;
    TParamTable& operator=(const TParamTable&) = delete;

    // A field holding its own value.
    TPageField& Text(const QString& key, const QString& defaultText = {});
    TPageField& Number(const QString& key, int defaultNumber = 0, int min = INT_MIN, int max = INT_MAX);
    // A field whose value a control keeps.
    TPageField& Text(const QString& key, TFieldBinding control, const QString& defaultText = {});
    TPageField& Number(const QString& key, TFieldBinding control, int defaultNumber = 0, int min = INT_MIN,
                       int max = INT_MAX);
    TPageParam& Param(TPageParam param);
    // A text parameter: the value goes into the field as it comes and is
    // written as the field holds it.
    TPageParam& TextParam(const QString& command, const QString& readName, TPageField& field,
                          const QString& writeName = {});

    const std::deque<TPageField>& Fields() const { return fFields; }
    std::deque<TPageField>& Fields() { return fFields; }
    const std::deque<TPageParam>& Params() const { return fParams; }
    std::deque<TPageParam>& Params() { return fParams; }
    // The field of a settings-file key (its case not counted), or none.
    const TPageField* FindField(const QString& key) const;
    // The parameter of a read command, or none.
    const TPageParam* FindParam(const QString& command) const;

    // Every readable parameter in order; failures are listed in `errors`
    // and leave their fields alone.
    void Read(TPanelExchange& exchange, QStringList& errors);
    // Every writable parameter in order; an answer without "OK" lists it.
    void Write(TPanelExchange& exchange, QStringList& errors) const;
    // One parameter; true when it succeeded.
    static bool ReadParam(TPanelExchange& exchange, TPageParam& param, QStringList& errors);
    static bool WriteParam(TPanelExchange& exchange, const TPageParam& param, QStringList& errors);

    void SetDefault();
    // Appends every keyed field's "Key=value" line, in field order.
    void GetSettings(QStringList& lines) const;
    TSettingsLoad LoadSettings(const QStringList& lines);

    // Called for every field whose held value has just changed.
    std::function<void(TPageField& field)> OnChanged;

private:
    friend class TPageField;
    void Changed(TPageField& field);

    std::deque<TPageField> fFields;
    std::deque<TPageParam> fParams;
};

// A read of one value: the answer's value line. A failed exchange, an
// answer of a lone "OK" (it carries no number) or a value that has not the
// form of the command's (ValueShapes.h) is a failed read and leaves `value`
// as it was.
bool ReadValue(TPanelExchange& exchange, const QString& command, QString& value, uint32_t timeOut);
