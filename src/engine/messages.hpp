// Every text that can reach a person, in Russian and in English, in one
// table (messages.cpp). The window speaks Russian; the command line speaks
// the user's language. A Message is made once with its arguments and carries
// its text in both languages, so whoever shows it picks the language.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace oradel {

enum class Language { Russian, English };

enum class MessageId {
    // Files.
    NoFile,
    NoFileToView,
    NotARegularInput,
    CannotOpenFile,
    CannotCreateFile,
    CannotCreateReadOnly,
    CannotCreateNotRegular,
    CannotCreatePlantedLink,
    CannotWriteFile,
    ReadError,
    InputNotSeekable,
    // What the operating system gave as the reason of a failure.
    ReasonAccessDenied,
    ReasonNoSuchFile,
    ReasonNoSpace,
    ReasonReadOnlyFileSystem,
    ReasonIsAFolder,
    ReasonNotAFolder,
    ReasonTooManyLinks,
    ReasonNameTooLong,
    ReasonFileTooLarge,
    ReasonOther,
    // Jobs.
    OutputIsInput,
    OutOfMemory,
    InternalError,
    NotEnoughMemory,
    ProgramFault,
    NoWaypointsFound,
    UnreadableEncoding,
    NotANumber,
    NotACupCoordinate,
    RecordTooLong,
    XmlMarkupTooLong,
    TruncatedGpx,
    ReplacedCharacters,
    PointsLeftOut,
    MoreNames,
    ListExists,
    ReplaceListQuestion,
    ListKeptAs,
    ListUnchanged,
    JobSkipped,
    WrongWaypointFormat,
    CompeGpsUtm,
    NotAPointList,
    NotXml,
    NotACupFile,
    FormatGeo,
    FormatCompeGps,
    FormatOzi,
    FormatCup,
    FormatGpx,
    FormatXml,
    FormatUtf16,
    FormatBinary,
    FormatPlainText,
    FormatPointList,
    FormatEmpty,
    // The check of a point list.
    CheckEncoding,
    CheckMixedLineEnds,
    CheckNulByte,
    CheckControlCharacter,
    CheckHeadingWithoutPoint,
    CheckMisreadRecord,
    CheckNoCoordinates,
    CheckMissingLongitude,
    CheckLetterInCoordinate,
    CheckTwoSeparators,
    CheckNotANumber,
    CheckFourthValue,
    CheckBadAltitude,
    CheckOutOfRange,
    CheckSwappedOutOfRange,
    CheckSwappedInSection,
    CheckFarFromSection,
    CheckRepeatedPosition,
    CheckImplausibleAltitude,
    CheckUnnamed,
    CheckRepeatedName,
    CheckUnclosedFilterTag,
    CheckUnclosedMarkup,
    CheckScriptLink,
    CheckLinkAddress,
    CheckTransliterated,
    CheckLK8000Replaced,
    CheckLK8000NameCut,
    CheckCupNameCut,
    CheckDeviceNumbered,
    CheckDeviceSameName,
    CheckLK8000CommentCut,
    CheckSummary,
    CheckSeverityError,
    CheckSeverityWarning,
    CheckSeverityNote,
    CheckTitle,
    CheckColumnLine,
    CheckColumnSeverity,
    CheckColumnText,
    CheckClean,
    CheckOfferBeforeConvert,
    CheckClose,
    // The window.
    ChooseFile,
    ChooseOperations,
    ConversionFinished,
    ConversionFinishedWithErrors,
    NoUserGuide,
    // The command line.
    UsageTryHelp,
    UsageUnknownOption,
    UsageNeedsValue,
    UsageUnknownMode,
    UsageNoInput,
    UsageSetNeedsAssignment,
    UsageUnknownControl,
    UsageCheckBoxValue,
    UsageUnknownExtension,
    UsageSettingsNotFound,
    UsageSettingsIsFolder,
    UsageNotASettingsFile,
    UsageText,
    UsageModeLine,
    UsageExtensionRuns,
    JobsNotDone,
    NoDisplay,
    WindowUsage,
    // Lines of the modes in the usage text.
    ModeImportXCTrack,
    ModeImportNavitel,
    ModeImportCup,
    ModeWriteXCTrack,
    ModeWriteNavitel,
    ModeWriteWebPage,
    ModeWriteLK8000,
    ModeWriteCup,
    ModeWriteGpx,
    ModeWriteKml,
    Count
};

class Message;

// One argument of a message: a text that reads the same in both languages
// (a file name, a number), or another message (a reason) in the same language.
class MessageArgument {
  public:
    MessageArgument(std::string_view text) : russian_(text), english_(text) {}
    MessageArgument(const std::string& text) : russian_(text), english_(text) {}
    MessageArgument(const char* text) : russian_(text), english_(text) {}
    MessageArgument(std::size_t number) : MessageArgument(std::to_string(number)) {}
    MessageArgument(const Message& message);

    const std::string& Text(Language language) const {
        return language == Language::Russian ? russian_ : english_;
    }

  private:
    std::string russian_, english_;
};

// A message with its arguments put in: "{1}" in the table's texts stands for
// the first argument, "{2}" for the second. Texts are UTF-8.
class Message {
  public:
    explicit Message(MessageId id, const std::vector<MessageArgument>& arguments = {});

    MessageId Id() const { return id_; }
    const std::string& Text(Language language) const {
        return language == Language::Russian ? russian_ : english_;
    }
    // Lines joined to this one by a line break, in both languages.
    Message& Append(const Message& line);
    Message& AppendLine(std::string_view text);

  private:
    MessageId id_;
    std::string russian_, english_;
};

// The reason of a failure that the C library reported as `errorNumber`, or
// that the standard library or the system reported as `error`.
Message ReasonOf(int errorNumber);
Message ReasonOf(const std::error_code& error);

// Shows a message to the user (the window's message box, the console's stderr).
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const Message& message) = 0;
};

}  // namespace oradel
