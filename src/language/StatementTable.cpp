#include "language/StatementTable.h"

#include <array>

namespace {

struct Row {
    const char* keyword;
    const char* syntax;
    const char* description;
};

// clang-format off
const Row kProRows[StatementTable::RowCount] = {
    {"@", "@ Assembly Statement", "Insert One Line of Assembly Code"}, // 1
    {"Asm", "ASM", "Begin Assembly Language Code Section"}, // 2
    {"EndAsm", "", "End Assembly Language Code Section"}, // 3
    {"Branch", "BRANCH Index,[Label{,Label...}]", "Branch to a different label based on index value."}, // 4
    {"BranchL", "BRANCHL Index,[Label{,Label...}]", "Branch to a different label based on index value (Long BRANCH)."}, // 5
    {"Button", "BUTTON Pin,Down,Delay,Rate,BVar,Action,Label", "Debounce and auto-repeat input on specified pin."}, // 6
    {"Call", "CALL Label", "CALL assembly language subroutine."}, // 7
    {"Clear", "CLEAR", "Zero all variables."}, // 8
    {"Count", "COUNT Pin,Period,Var", "Count number of pulses on pin."}, // 9
    {"Data", "DATA {@Location,}Constant{,Constant...}", "Define initial contents of on-chip EEPROM."}, // 10
    {"Debug", "DEBUG Item{,Item...}", "Asynchronus serial output to fixed pin and baud."}, // 11
    {"Disable", "DISABLE", "Disable ON INTERRUPT processing."}, // 12
    {"DTMFOut", "DTMFOUT Pin,{Onms,Offms,}[Tone{,Tone...}]", "Produce touch-tones on a pin."}, // 13
    {"EEPROM", "EEPROM {Location,}[Constant{,Constant...}]", "Define initial contents of on-chip EEPROM."}, // 14
    {"Enable", "ENABLE", "Enable ON INTERRUPT processing."}, // 15
    {"End", "END", "Stop execution and enter low power mode."}, // 16
    {"For", "FOR Count = Start TO End {STEP {-} Inc}", "Repeatedly execute statements."}, // 17
    {"FreqOut", "FREQOUT pin,Onms,Frequency1{,Frequency2}", "Produce up to 2 frequencies on a pin."}, // 18
    {"GoSub", "GOSUB Label", "Call BASIC subroutine at specified label."}, // 19
    {"GoTo", "GOTO Label", "Continue execution at specified label."}, // 20
    {"High", "HIGH Pin", "Make pin output high."}, // 21
    {"HSerin", "HSERIN {ParityLabel,}{Timeout,Label,}[Item{,...}]", "Hardware asynchronous serial input."}, // 22
    {"HSerout", "HSEROUT [Item{,Item...}]", "Hardware asynchronous serial output."}, // 23
    {"I2CRead", "I2CREAD DataPin,ClockPin,Control,{Address,}[Var{,Var...}]{,Label}", "Read byte from I2C device."}, // 24
    {"I2CWrite", "I2CWRITE DataPin,ClockPin,Control,{Address,}[Value{,Value...}]{,Label}", "Write byte to I2C device."}, // 25
    {"IF", "IF Comp {AND/OR Comp...} THEN Label", "Coditionally execute statements."}, // 26
    {"Then", "IF Comp {AND/OR Comp...} THEN Label", "Coditionally execute statements."}, // 27
    {"Else", "ELSE", "Coditionally execute statements."}, // 28
    {"EndIF", "ENDIF", "End IF statement."}, // 29
    {"Input", "INPUT Pin", "Make pin an input."}, // 30
    {"LET", "{LET} Var = Value", "Assign result of an expression to a variable."}, // 31
    {"LCDOut", "LCDOUT Item{,Item...}", "Display characters on LCD."}, // 32
    {"LookDown", "LOOKDOWN Search,[Constant{,Constant...}],Var", "Search constant table for value."}, // 33
    {"LookDown2", "LOOKDOWN2 Search,{Test}[Value{,Value...}],Var", "Search constant/variable table for value."}, // 34
    {"LookUp", "LOOKUP Index,[Constant{,Constant...}],Var", "Fetch constant value from table."}, // 35
    {"LookUp2", "LOOKUP2 Index,[Value{,Value...}],Var", "Fetch constant/variable value from table."}, // 36
    {"Low", "LOW Pin", "Make pin output low."}, // 37
    {"NAP", "NAP Period", "Power down processor for short period of time."}, // 38
    {"ON INTERRUPT", "ON INTERRUPT GOTO Label", "Execute BASIC subroutine on an interrupt."}, // 39
    {"Output", "OUTPUT Pin", "Make pin an output."}, // 40
    {"Pause", "PAUSE Period", "Delay (1mSec resolution)."}, // 41
    {"PauseUs", "PAUSEUS Period", "Delay (1uSec resolution)."}, // 42
    {"Peek", "PEEK Address,Var", "Read byte from register."}, // 43
    {"Poke", "POKE Address,Value", "Write byte to register."}, // 44
    {"Pot", "POT Pin,Scale,Var", "Read potentiometer on specified pin."}, // 45
    {"PulsIn", "PULSIN Pin,State,Var", "Measure pulse width on a pin."}, // 46
    {"PulsOut", "PULSOUT Pin,Period", "Generate pulse to a pin."}, // 47
    {"PWM", "PWM Pin,Duty,Cycle", "Output pulse width modulated pulse train to pin."}, // 48
    {"Random", "RANDOM Var", "Generate pseudo-random number."}, // 49
    {"RCTime", "RCTIME Pin,State,Var", "Measure pulse width on a pin."}, // 50
    {"Read", "READ Address,Var", "Read byte from on-chip EEPROM."}, // 51
    {"Resume", "RESUME {Label}", "Continue execution after interrupt handling."}, // 52
    {"Return", "RETURN", "Continue at statement following last GOSUB."}, // 53
    {"Reverse", "REVERSE Pin", "Make output pin an input or an input pin an output."}, // 54
    {"SerIn", "SERIN Pin,Mode,{Timeout,Label,}{[Qual...],}{Item...}", "Asynchronous Serial input (BS1 Style)."}, // 55
    {"SerIn2", "SERIN2 DataPin{\\FlowPin},Mode,{ParityLabel,}{Timeout,Label,}[Item...]", "Asynchronous serial input (BS2 style)."}, // 56
    {"SerOut", "SEROUT Pin,Mode,[Item{,Item...}]", "Asynchronous serial output (BS1 style)."}, // 57
    {"SerOut2", "SEROUT2 DataPin,{\\FlowPin},Mode,{Pace,}{Timeout,Label,}[Item...]", "Asynchronous serial output (BS2 style)."}, // 58
    {"ShiftIn", "SHIFTIN DataPin,ClockPin,Mode,[Var{\\Bits}...]", "Synchronous serial input."}, // 59
    {"ShiftOut", "SHIFTOUT DataPin,ClockPin,Mode,[Var{\\Bits}...]", "Synchronous serial output."}, // 60
    {"Sleep", "SLEEP Period", "Power down processor for a period of time."}, // 61
    {"Sound", "SOUND Pin,[Note,Duration{,Note,Duration...}]", "Generate tone or white-nose on specified pin."}, // 62
    {"Stop", "STOP", "Stop program execution."}, // 63
    {"Swap", "SWAP Var,Var", "Exchange the values of two variables."}, // 64
    {"Toggle", "TOGGLE Pin", "Make pin an output and toggle state."}, // 65
    {"While", "WHILE Condition", "Execute statements while condition is true."}, // 66
    {"Wend", "WEND", "Execute statements while condition is true."}, // 67
    {"Write", "WRITE Address,Value", "Write byte to on-chip EEPROM."}, // 68
    {"XIN", "XIN DataPin,ZeroPin,{Timeout,Label,}[var{,...}]", "X-10 input."}, // 69
    {"XOUT", "XOUT DataPin,ZeroPin,[HouseCode\\KeyCode{\\Repeate}{....}]", "X-10 output."}, // 70
    {"VAR", "Label VAR Size", ""}, // 71
    {"CON", "Label CON Constant", ""}, // 72
    {"AND", "AND", ""}, // 73
    {"INCLUDE", "INCLUDE \"Filename\"", ""}, // 74
    {"Next", "NEXT {Count}", ""}, // 75
    {"ADCIN", "ADCIN Channel,Variable", "Read A/D Channel x"}, // 76
    {"LCDIN", "LCDIN {address,}[variable{,...}]", "Read LCD RAM."}, // 77
    {"ClearWDT", "ClearWDT", "Clear Watchdog Timer."}, // 78
    {"DebugIn", "DEBUGIN {Timeout, Label,}[Item{,Item...}]", ""}, // 79
};

// The PicBasic rows by keyword; each takes the syntax and description of the PicBasic Pro row with the
// same keyword unless it is listed in kPbcOwnRows.
const char* const kPbcKeywords[StatementTable::PbcRowCount] = {
    "Branch", "Button", "Call", "Debug", "EEPROM", "End", "For", "GoSub", "GoTo", "High", "I2CIN",
    "I2COUT", "IF", "Then", "Input", "LET", "LookDown", "LookUp", "Low", "NAP", "Output", "Pause",
    "PauseUs", "Peek", "Poke", "Pot", "PulsIn", "PulsOut", "PWM", "Random", "Read", "Return", "Reverse",
    "SerIn", "SerOut", "Sleep", "Sound", "Toggle", "Write", "Next"
};

struct OwnRow {
    int row;
    Row cells;
};

const OwnRow kPbcOwnRows[] = {
    {1, {"Branch", "BRANCH Offset, (Label {,Label...})", "Branch to a different label based on index value."}},
    {4, {"Debug", "Debugging statement not supported by PBC.", "Debugging statement not supported by PBC."}},
    {11, {"I2CIN", "I2CIN Control, Address, Var {,Var...}", "Read byte from I2C device."}},
    {12, {"I2COUT", "I2COUT Control, Address, (Value {,Value...})", "Write byte to I2C device."}},
    {17, {"LookDown", "LOOKDOWN Search,(Constant{,Constant...}),Var", "Search constant table for value."}},
    {18, {"LookUp", "LOOKUP Index,(Constant{,Constant...}),Var", "Fetch constant value from table."}},
    {34, {"SerIn", "SERIN Pin, Mode, [ (Qual {,Qual...}), ] Item {,Item...}", "Asynchronous Serial input (BS1 Style)."}},
    {35, {"SerOut", "SEROUT Pin, Mode, Item{,Item...}", "Asynchronous serial output (BS1 style)."}},
    {37, {"Sound", "SOUND Pin, (Note, Duration {,Note,Duration...})", "Generate tone or white-nose on specified pin."}},
};

const char* const kDefines[StatementTable::DefineCount] = {
    "DEFINE", "ADC_BITS", "ADC_CLOCK", "ADC_SAMPLEUS 50", "BUTTON_PAUSE", "CHAR_PACING", "DEBUG_REG",
    "DEBUG_BIT", "DEBUG_BAUD", "DEBUG_MODE", "DEBUG_PACING", "DEBUGIN_REG", "DEBUGIN_BIT",
    "DEBUGIN_MODE", "HSER_RCSTA", "HSER_TXSTA", "HSER_BAUD", "HSER_EVEN", "HSER_ODD", "I2C_HOLD",
    "I2C_INTERNAL", "I2C_SCLOUT", "I2C_SLOW", "LCD_DREG", "LCD_DBIT", "LCD_RSREG", "LCD_RSBIT",
    "LCD_RWREG", "LCD_RWBIT", "LCD_EREG", "LCD_EBIT", "LCD_BITS", "LCD_LINES", "OSC", "OSCCAL_1K",
    "OSCCAL_2K", "SER2_BITS", "SHIFT_PAUSEUS", "HSER_SPBRG", "INTHAND"
};
// clang-format on

} // namespace

void StatementTable::InitPBPCodes(bool pbpMode) {
    if (pbpMode) {
        for (int row = 1; row <= RowCount; ++row) {
            const Row& r = kProRows[row - 1];
            setCell(row, Keyword, QLatin1String(r.keyword));
            setCell(row, Syntax, QLatin1String(r.syntax));
            setCell(row, Description, QLatin1String(r.description));
        }
        for (int i = 1; i <= DefineCount; ++i)
            setDefine(i, QLatin1String(kDefines[i - 1]));
        return;
    }

    for (int row = 1; row <= PbcRowCount; ++row) {
        const QLatin1String word(kPbcKeywords[row - 1]);
        Row cells{kPbcKeywords[row - 1], "", ""};
        for (const Row& pro : kProRows) {
            if (QLatin1String(pro.keyword) == word) {
                cells = pro;
                break;
            }
        }
        for (const OwnRow& own : kPbcOwnRows) {
            if (own.row == row)
                cells = own.cells;
        }
        setCell(row, Keyword, QLatin1String(cells.keyword));
        setCell(row, Syntax, QLatin1String(cells.syntax));
        setCell(row, Description, QLatin1String(cells.description));
    }
    // A PicBasic table never keeps PicBasic Pro rows from an earlier fill: rows 41 to 79 and the DEFINE
    // names are emptied, so the table is the same whether it was built for PicBasic first or after a
    // compiler switch, and no PicBasic Pro-only word is found or coloured in PicBasic mode.
    for (int row = PbcRowCount + 1; row <= RowCount; ++row) {
        for (int column = 1; column <= ColumnCount; ++column)
            setCell(row, column, QString());
    }
    for (int i = 1; i <= DefineCount; ++i)
        setDefine(i, QString());
}

QString StatementTable::cell(int row, int column) const {
    if (row < 1 || row > RowCount || column < 1 || column > ColumnCount)
        return QString();
    return m_codes[row - 1][column - 1];
}

void StatementTable::setCell(int row, int column, const QString& text) {
    if (row < 1 || row > RowCount || column < 1 || column > ColumnCount)
        return;
    m_codes[row - 1][column - 1] = text;
}

QString StatementTable::define(int index) const {
    if (index < 1 || index > DefineCount)
        return QString();
    return m_defines[index - 1];
}

void StatementTable::setDefine(int index, const QString& text) {
    if (index < 1 || index > DefineCount)
        return;
    m_defines[index - 1] = text;
}

// An empty cell is no keyword, so an empty token never finds a row.
int StatementTable::findStatement(const QString& token) const {
    if (token.isEmpty())
        return 0;
    const QString wanted = token.toUpper();
    for (int row = 1; row <= RowCount; ++row) {
        if (keyword(row).toUpper() == wanted)
            return row;
    }
    return 0;
}

int StatementTable::findDefine(const QString& token) const {
    if (token.isEmpty())
        return 0;
    const QString wanted = token.toUpper();
    for (int i = 1; i <= DefineCount; ++i) {
        if (define(i).toUpper() == wanted)
            return i;
    }
    return 0;
}

int StatementTable::helpContext(int row, bool pbpMode) {
    if (row < 1 || row > (pbpMode ? RowCount : PbcRowCount))
        return 0;
    return (pbpMode ? ProHelpBase : PbcHelpBase) + row;
}
