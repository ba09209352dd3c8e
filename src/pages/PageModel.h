#pragma once

#include "PageHost.h"
#include "PanelValue.h"
#include "ParamTable.h"
#include "StringConsts.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// What became of a page's read or write.
struct TPageResult {
    // The operation ran; false when it was refused (the page or the host was
    // busy with something else) and nothing was done.
    bool Ran = false;
    // The names of the parameters that failed, in page order.
    QStringList Errors;
    // The one message a page tells its failures with instead of listing
    // them (the System events page); empty for the error list.
    QString Message;

    bool Ok() const { return Ran && Errors.isEmpty(); }
};

// A settings page without widgets: its values, its panel parameters and
// its rules. The window shows one through the page's frame (T…Frame); the
// command line drives it alone. Both reach the panel, the operation state
// and the user through the same host.
//
// The values live in the page's description (fParams): a field per
// settings-file key holding its value, a parameter per panel command
// holding the value as the panel gave it. The defaults below read, write,
// default, save and load the page by walking that description; a page
// overrides one of them only for its real quirks.
//
// Changed() says whether the user changed anything (an edit, the defaults)
// since the last read or write that went through without a failure, or the
// last load of a settings file.
class TPageModel : public QObject {
    Q_OBJECT
public:
    TPageModel(IPageHost& host, int tag, QObject* parent = nullptr);

    int Tag() const { return fTag; }
    TWorkMode Mode() const { return FMode; }
    IPageHost& Host() const { return fHost; }
    const TParamTable& Params() const { return fParams; }
    // The field of a settings-file key (its case not counted), or none.
    TPageField* Field(const QString& key);
    const TPageField* Field(const QString& key) const;

    // Start values, once the page is made (and again when the window asks).
    virtual void Init();
    // Every parameter in order; the failures are told through the host at
    // the end (the error list, or the page's message) and returned.
    virtual TPageResult Read();
    virtual TPageResult Write();
    // The question Write asks before it sends anything (empty: none).
    virtual QString WriteQuestion() const { return {}; }
    // Every value's default (no panel traffic).
    virtual void SetDefault();
    // The page's key=value lines, in its order.
    virtual QStringList Settings() const;
    // Takes the page's keys from a settings file's lines: text keys as they
    // are (a missing one empties its value), number keys converted; when a
    // number key is missing or not a number the whole page takes its
    // defaults instead, and nothing of the file is taken. A number outside
    // what the page can show is taken as far as it goes (a list without
    // selection) and named in LoadRefused().
    virtual void LoadSettings(const QStringList& lines);
    // The lines ("Key=value") of the last load that the page could not take
    // as they stand; empty when it took them all.
    const QStringList& LoadRefused() const { return fLoadRefused; }
    // What the setting of a settings-file key is called on the page, for a
    // user comparing the page with a file; the key itself when the page has
    // no better name for it.
    virtual QString SettingsCaption(const QString& key) const;
    // The connected panel's firmware release, given on every connection.
    virtual void DevRelease(int release);
    // The release a page whose values depend on it was last given; none
    // before the first connection, and for a page that does not keep it.
    virtual std::optional<int> Release() const { return std::nullopt; }

    // What the page's write would send now, value by value in the write's
    // order, nothing sent: the values worked out as the write works them
    // out, and put back into the fields where the write puts them (a model
    // made for a comparison, not one a user looks at).
    virtual std::vector<TPanelValue> WriteValues();
    // What the panel held at the page's last read, in the form WriteValues
    // gives: for most pages the values as they stand, since a read keeps
    // what it cannot show exactly as the panel gave it.
    virtual std::vector<TPanelValue> HeldValues();

    // A user's edit of one of the page's fields.
    void EditText(TPageField& field, const QString& text);
    void EditNumber(TPageField& field, int number);

    bool Changed() const { return fChanged; }

signals:
    // A field's value changed (a read, a load, the defaults, an edit).
    void FieldChanged(const TPageField* field);
    // Some value of the page changed, a field's or one the page keeps
    // otherwise.
    void ValuesChanged();
    void ChangeStateChanged(bool changed);

protected:
    // Runs one page operation (RunPageOperation) and tells its failures
    // through the host: `message` when given, else the error list.
    TPageResult RunOperation(TWorkMode mode, const std::function<void(QStringList& errors)>& body,
                             const QString& message = {});
    // A read or a write of the page's values that went through without a
    // failure leaves nothing changed; returns the result.
    TPageResult Settle(const TPageResult& result);
    void SetChanged(bool changed);
    void SetLoadRefused(const QStringList& refused) { fLoadRefused = refused; }
    // A value the page keeps outside its fields changed.
    void NotifyValues() { emit ValuesChanged(); }
    // The values the table's writable parameters send as the fields stand.
    std::vector<TPanelValue> TableValues() const;

    IPageHost& fHost;
    TParamTable fParams;
    TWorkMode FMode = wmNull;

private:
    const int fTag;
    bool fChanged = false;
    QStringList fLoadRefused;
};

// Tells a page operation's failures through `host`: its message as an
// error message box, else its error list.
void ReportPageResult(IPageHost& host, const TPageResult& result, TWorkMode mode);
