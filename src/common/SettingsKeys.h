#pragma once

// Every key of the settings store, declared once with its section and default. Defaults that depend
// on the machine's folders are named by a kind and worked out by Settings.
namespace settings {

enum class DefaultKind {
    Text,           // the text in `value`
    SourceFolder,   // the default source folder
    LastFile,       // the stored source folder followed by "Untitled.pbp"
    CompilerPath,   // the application folder followed by "PBPW.EXE"
    ProgrammerPath, // the application folder followed by "EPICWIN.EXE"
};

struct Key {
    const char* section;
    const char* name;
    const char* value = "";
    DefaultKind kind = DefaultKind::Text;
};

inline constexpr char Application[] = "Pinwright";

namespace startup {
inline constexpr Key Height{"Startup", "Height", "6000"};
inline constexpr Key Left{"Startup", "Left", "0"};
inline constexpr Key Top{"Startup", "Top", "0"};
inline constexpr Key Width{"Startup", "Width", "9000"};
inline constexpr Key File1{"Startup", "File1"};
inline constexpr Key File2{"Startup", "File2"};
inline constexpr Key File3{"Startup", "File3"};
inline constexpr Key File4{"Startup", "File4"};
inline constexpr Key DefaultDevice{"Startup", "DefaultDevice", "71"};
inline constexpr Key LastFile{"Startup", "LastFile", "", DefaultKind::LastFile};
inline constexpr Key SourceCodePath{"Startup", "SourceCodePath", "", DefaultKind::SourceFolder};
inline constexpr Key CompilerType{"Startup", "CompilerType", "0"};
inline constexpr Key CompilerPathName{"Startup", "CompilerPathName", "", DefaultKind::CompilerPath};
inline constexpr Key CompilerCommandLineOptions{"Startup", "CompilerCommandLineOptions"};
inline constexpr Key DosWindow{"Startup", "DosWindow", "1"};
inline constexpr Key AutoCloseCW{"Startup", "AutoCloseCW", "1"};
inline constexpr Key AutoCloseCWTime{"Startup", "AutoCloseCWTime", "5"};
inline constexpr Key ProgrammerType{"Startup", "ProgrammerType", "0"};
inline constexpr Key ProgrammerPathName{"Startup", "ProgrammerPathName", "", DefaultKind::ProgrammerPath};
inline constexpr Key ProgrammerCommandLineOptions{"Startup", "ProgrammerCommandLineOptions"};

inline constexpr const Key* RecentFiles[4] = {&File1, &File2, &File3, &File4};
} // namespace startup

namespace files {
// The encoding of files that are not UTF-8, where the system names no 8-bit encoding of its own.
inline constexpr Key EightBitEncoding{"Files", "EightBitEncoding", "Windows-1252"};
// The encodings the user chose for single files, by path (see Settings::fileEncoding).
inline constexpr char EncodingSection[] = "FileEncodings";
} // namespace files

namespace colors {
inline constexpr Key svSymbol{"ViewColors", "svSymbol", "0"};
inline constexpr Key svNumber{"ViewColors", "svNumber", "12632064"};
inline constexpr Key svSpecial{"ViewColors", "svSpecial", "0"};
inline constexpr Key svComment{"ViewColors", "svComment", "38400"};
inline constexpr Key svString{"ViewColors", "svString", "180"};
inline constexpr Key svStatements{"ViewColors", "svStatements", "11796480"};
inline constexpr Key svDefines{"ViewColors", "svDefines", "12583104"};
inline constexpr Key svVarSize{"ViewColors", "svVarSize", "11796480"};
inline constexpr Key svMath{"ViewColors", "svMath", "11796480"};
inline constexpr Key svLogic{"ViewColors", "svLogic", "11796480"};
inline constexpr Key svModifer{"ViewColors", "svModifer", "11796480"};
// Names: labels, variables, constants and the other words that are not the language's own.
inline constexpr Key svNames{"ViewColors", "svNames", "0"};
inline constexpr Key svBackGround{"ViewColors", "svBackGround", "-2147483643"};
// The colour keys (names separated by blanks) whose value is the user's own choice although it equals
// the key's default, which alone reads as the stock colour that follows the background.
inline constexpr Key OwnColors{"ViewColors", "OwnColors"};
} // namespace colors

namespace debug {
inline constexpr Key BaudRate{"Debug", "BaudRate", "4"};
inline constexpr Key Parity{"Debug", "Parity", "2"};
inline constexpr Key DataBits{"Debug", "DataBits", "1"};
inline constexpr Key StopBits{"Debug", "StopBits", "0"};
// The terminal's own choices: what Enter sends (0 CR, 1 LF, 2 CR LF), the views shown ("0" or "1"),
// and the file the log went to last.
inline constexpr Key EnterSends{"Debug", "EnterSends", "0"};
inline constexpr Key LocalEcho{"Debug", "LocalEcho", "0"};
inline constexpr Key TimeStamps{"Debug", "TimeStamps", "0"};
inline constexpr Key HexView{"Debug", "HexView", "0"};
inline constexpr Key PlotView{"Debug", "PlotView", "0"};
inline constexpr Key LogFile{"Debug", "LogFile"};
} // namespace debug

// The simulated board: the PIC's sending and receiving pins (empty: the device's serial pins), the
// speed (empty: the Debug window's), an idle-low line ("1") and real time ("1") or flat out ("0").
namespace simulator {
inline constexpr Key TxPin{"Simulator", "TxPin"};
inline constexpr Key RxPin{"Simulator", "RxPin"};
inline constexpr Key Baud{"Simulator", "Baud"};
inline constexpr Key Inverted{"Simulator", "Inverted", "0"};
inline constexpr Key RealTime{"Simulator", "RealTime", "1"};
} // namespace simulator

// How the editors and the code explorer are shown: the font's zoom in points from the normal size,
// whether the explorer is shown ("0" or "1") and the side of the frame it stands on.
namespace view {
inline constexpr Key EditorZoom{"View", "EditorZoom", "0"};
inline constexpr Key CodeExplorer{"View", "CodeExplorer", "0"};
inline constexpr Key CodeExplorerSide{"View", "CodeExplorerSide", "Left"};
} // namespace view

// Whether printouts number their lines ("0" or "1").
namespace print {
inline constexpr Key LineNumbers{"Print", "LineNumbers", "0"};
} // namespace print

namespace autosave {
// Seconds between the copies of unsaved documents; 0 or less writes none.
inline constexpr Key Interval{"Autosave", "Interval", "60"};
} // namespace autosave

// Every declared key, for tests and tools.
inline constexpr const Key* All[] = {
    &startup::Height,
    &startup::Left,
    &startup::Top,
    &startup::Width,
    &startup::File1,
    &startup::File2,
    &startup::File3,
    &startup::File4,
    &startup::DefaultDevice,
    &startup::LastFile,
    &startup::SourceCodePath,
    &startup::CompilerType,
    &startup::CompilerPathName,
    &startup::CompilerCommandLineOptions,
    &startup::DosWindow,
    &startup::AutoCloseCW,
    &startup::AutoCloseCWTime,
    &startup::ProgrammerType,
    &startup::ProgrammerPathName,
    &startup::ProgrammerCommandLineOptions,
    &colors::svSymbol,
    &colors::svNumber,
    &colors::svSpecial,
    &colors::svComment,
    &colors::svString,
    &colors::svStatements,
    &colors::svDefines,
    &colors::svVarSize,
    &colors::svMath,
    &colors::svLogic,
    &colors::svModifer,
    &colors::svNames,
    &colors::svBackGround,
    &colors::OwnColors,
    &debug::BaudRate,
    &debug::Parity,
    &debug::DataBits,
    &debug::StopBits,
    &debug::EnterSends,
    &debug::LocalEcho,
    &debug::TimeStamps,
    &debug::HexView,
    &debug::PlotView,
    &debug::LogFile,
    &simulator::TxPin,
    &simulator::RxPin,
    &simulator::Baud,
    &simulator::Inverted,
    &simulator::RealTime,
    &view::EditorZoom,
    &view::CodeExplorer,
    &view::CodeExplorerSide,
    &print::LineNumbers,
    &autosave::Interval,
};

} // namespace settings
