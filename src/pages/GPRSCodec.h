#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The GPRS page: the SIM card's packet-data access with the operator
// presets, the pause between connection attempts, the identification
// password and the main and reserve servers.

// The pause list: index i is i + 5 minutes, "5" to "15".
constexpr int GPRSPauseCount = 11;
constexpr int GPRSPauseFirstMinutes = 5;
// What is written while the list has no selection: 5 minutes.
constexpr int GPRSPauseDefaultIndex = 0;

// The pause list's item texts, "5" to "15".
QStringList GPRSPauseItems();
// The "+timegpres" value: the pause in seconds as four upper-case
// hexadecimal digits ("5" -> 012C, "15" -> 0384). An index outside the list
// (no selection) writes the default, 012C.
QString EncodeGPRSPause(int index);
// The list index of a "+timegpres" value: whole minutes up to 5 select "5",
// from 15 on "15"; a value that is not hexadecimal selects "5".
int DecodeGPRSPause(const QString& value);

// The operators, in list order.
enum TGPRSOperator { opBeeline = 0, opMegafon = 1, opMTS = 2, opTele2 = 3, opOther = 4 };
constexpr int GPRSOperatorCount = 5;
QStringList GPRSOperatorItems(); // "Билайн", "Мегафон", "МТС", "Теле2", "Другой"

// An operator's SIM settings: dial number, access point, user name, password.
struct TOperatorPreset {
    QString Phone;
    QString Point;
    QString User;
    QString Password;
    bool operator==(const TOperatorPreset&) const = default;
};
// The preset of the operator whose list text is `itemText` (matched by the
// upper-cased text). Empty for "Другой": the four texts stay as they are and
// become editable; with a preset they are read-only.
std::optional<TOperatorPreset> OperatorPreset(const QString& itemText);
// Whether the operator at `index` locks the four SIM edits (the four named
// operators do, "Другой" does not).
bool OperatorLocksSimEdits(int index);
// The operator recognised from an access point read from the panel:
// contains "MTS", else "BEELINE", else equals "INTERNET" (MegaFon), else
// contains "TELE2", in any letter case; otherwise opOther.
TGPRSOperator RecognizeOperator(const QString& accessPoint);

// The placeholder server address of the defaults (dotted, three digits an
// octet, as long as the address edits take).
QString GPRSDefaultServerAddress();
QString GPRSDefaultServerPort(); // "3050"
QString GPRSDefaultPassword();   // "DemoDemo"

// Edit limits and what makes a text red (it is written all the same).
constexpr int IPAddressMaxLength = 15;
constexpr int PortMaxLength = 5;
constexpr int IdentPasswordLength = 8; // at most typed, and the least that is valid
// Four parts separated by ".", each a decimal number 0..255 written with
// digits only (no sign, no blanks; "000" is 0).
bool IsValidIPAddress(const QString& text);
// A decimal number 1..65535, digits only.
bool IsValidPort(const QString& text);
// At least eight characters.
bool IsValidIdentPassword(const QString& text);

// The characters the address and port edits take from the keyboard
// (Backspace, "." and digits; Backspace and digits), as sets for
// FilterChars, and the per-key test.
QString IPKeyChars();
QString PortKeyChars();
bool IPKeyAllowed(QChar c);
bool PortKeyAllowed(QChar c);

// Everything the page shows. PauseIndex -1 is a list without selection.
struct TGPRSValues {
    int PauseIndex = -1;
    QString Password;
    QString IP1;
    QString Port1;
    QString IP2;
    QString Port2;
    int Operator = opBeeline;
    QString Phone;
    QString Point;
    QString UserName;
    QString UserPWD;
    bool operator==(const TGPRSValues&) const = default;
};

// One panel parameter of the page: its command and its names in the error
// list on reading and on writing (they differ for three parameters).
struct TGPRSParam {
    const char* Command;
    const char* ReadName;  // UTF-8
    const char* WriteName; // UTF-8
    // The text it carries, taken unchanged from a read and written as it
    // stands; none for the pause, which goes through its codec.
    QString TGPRSValues::*Text;
};
// The ten parameters in the order they are read and written: dial number,
// access point, user name, password, pause, identification password, main
// address and port, reserve address and port.
const std::array<TGPRSParam, 10>& GPRSParams();

// The page's defaults: pause "5", "DemoDemo", the placeholder address and
// port 3050 for both servers, MTS with its preset.
TGPRSValues GPRSDefaults();
// Before writing: an empty reserve address takes the main address, an empty
// reserve port the main port.
void FillReserveServer(TGPRSValues& values);
