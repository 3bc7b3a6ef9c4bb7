#include "cli/menu_command.h"

#include "cli/result_printer.h"
#include "cli/store_argument.h"
#include "conversion/conversion.h"
#include "settings/color_preset_list.h"
#include "settings/setting_store.h"

#include <charconv>
#include <ostream>

namespace tellavin::cli {

namespace {

// One colour: a colour number (red in the low byte) in decimal, or #RRGGBB.
std::optional<std::uint32_t> ParseColor(std::string_view text) {
    std::uint32_t value = 0;
    if (text.size() == 7 && text.front() == '#') {
        std::uint32_t rgb = 0;
        auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
        if (error != std::errc() || end != text.data() + 7) {
            return std::nullopt;
        }
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) {
        return std::nullopt;
    }
    return value;
}

std::optional<MenuColors> ParseColors(std::string_view text) {
    MenuColors colors{};
    for (std::size_t slot = 0; slot < colors.size(); ++slot) {
        auto comma = text.find(',');
        if ((comma == std::string_view::npos) != (slot + 1 == colors.size())) {
            return std::nullopt;
        }
        auto color = ParseColor(text.substr(0, comma));
        if (!color) {
            return std::nullopt;
        }
        colors[slot] = *color;
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return colors;
}

// The colours of the preset of that name, as the menu window lists them:
// the built-in presets are installed first, as the window does when it
// opens.
std::optional<MenuColors> PresetColors(const std::string& name, const Platform& platform,
                                       std::ostream& err) {
    try {
        InstallBuiltinPresets(platform);
    } catch (const SettingError& error) {
        // A read-only settings folder: the presets already saved still serve.
        err << "tellavin-cli: " << error.description() << "\n";
    }
    PresetList presets(platform);
    try {
        presets.LoadPresetList();
    } catch (const SettingError& error) {
        err << "tellavin-cli: " << error.description() << "\n";
        return std::nullopt;
    }
    presets.SelectByText(name);
    if (presets.text() != name) {
        // The names the user may give instead: every item but item 0, the
        // custom colours.
        std::string names;
        for (std::size_t item = 1; item < presets.items().size(); ++item) {
            names += (names.empty() ? "" : ", ") + presets.items()[item].text;
        }
        err << "tellavin-cli: no menu colour preset is named \"" << name << "\"; "
            << (names.empty() ? "there are none" : "there are: " + names) << "\n";
        return std::nullopt;
    }
    return presets.swatches();
}

} // namespace

int RunMenu(const std::string& source, const std::string& page, const MenuArguments& arguments,
            std::ostream& out, std::ostream& err, const Platform& platform,
            ProgressSink& progress) {
    auto location = StoreArgument(source, platform, err);
    if (!location) {
        return 2;
    }
    ConversionRequest request;
    request.source = *location;
    request.target = {StoreKind::Menu, page};
    request.choice = arguments.choice;
    request.options.keepOrder = arguments.keepOrder;
    auto& options = request.menu;
    options.bVertical = arguments.vertical;
    options.bOpenNew = arguments.newWindow;
    options.bShowUrl = !arguments.noUrlStatus;
    options.bShadows = !arguments.noShadows;
    options.bShowStatistics = arguments.statistics;
    options.bBreakMenus = arguments.breakAfter.has_value();
    options.nMaxItems = arguments.breakAfter.value_or(options.nMaxItems);
    options.sPageTitle = arguments.title;
    if (!arguments.colors.empty()) {
        auto colors = ParseColors(arguments.colors);
        if (!colors) {
            err << "tellavin-cli: --colors needs eight colours, each a number up to 16777215 "
                   "or #RRGGBB, separated by commas\n";
            return 2;
        }
        options.colors = *colors;
    }
    if (!arguments.preset.empty()) {
        auto colors = PresetColors(arguments.preset, platform, err);
        if (!colors) {
            return 2;
        }
        options.colors = *colors;
    }
    request.options.dryRun = arguments.dryRun;
    return PrintExportResult(RunConversion(request, platform, progress), out, err, !arguments.quiet,
                             arguments.dryRun);
}

} // namespace tellavin::cli
