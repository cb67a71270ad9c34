// Output file names of the clips, from the naming template, the clip and the
// output settings the main window shows.
#pragma once

#include "profiles/naming_settings.h"
#include "profiles/profile_definitions.h"
#include "shell/target_catalogue.h"

#include <QDate>
#include <functional>
#include <optional>
#include <string>

namespace quilo {

// What a name needs to know of one clip.
struct NamingClip {
    std::string sourcePath; // the first source file
    int startTime = 0;      // seconds
    int endTime = 0;        // seconds
    int width = 0;          // source picture size
    int height = 0;
};

// The main window's side: its output settings and its clip list.
class OutputNamingSource {
public:
    virtual ~OutputNamingSource() = default;

    virtual TargetTypeId currentTarget() const = 0;
    virtual int outputFormatIndex() const = 0; // -1 = none selected
    virtual int outputImageMode() const = 0;   // engine value of the output image mode
    virtual bool resolutionVisible() const = 0;
    virtual std::string resolutionText() const = 0;
    virtual bool widthEnabled() const = 0;
    virtual std::string widthText() const = 0;
    virtual std::string heightText() const = 0;

    virtual int clipCount() const = 0;
    virtual std::optional<NamingClip> clip(int position) const = 0;
    // Stores the name in the clip record and shows it in the clip's row.
    virtual void setOutputName(int position, const std::string& name) = 0;
};

class OutputNamer {
public:
    using Today = std::function<QDate()>;

    // `definitions` may be null before the definitions are opened; the
    // settings are read at every call, so edits in the options dialog count.
    OutputNamer(const ProfileDefinitions* definitions, const NamingSettings& settings,
                OutputNamingSource& source, Today today = &QDate::currentDate);

    std::string OutputExtension() const;
    std::string ExpandTemplate(int position) const;
    std::string OutputFileName(int position) const;
    void RefreshOutputNames() const;
    // Whether the serial number is part of the name at `position`: the
    // template, or a source name it brings in, holds #SN.
    bool UsesSerialNumber(int position) const;

private:
    const ProfileDefinitions* definitions_;
    const NamingSettings& settings_;
    OutputNamingSource& source_;
    Today today_;
};

// The file extension that goes with an engine container value, with its dot.
std::string ExtensionForContainer(const std::string& container);

} // namespace quilo
