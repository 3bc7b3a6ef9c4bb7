#include "settings/window_settings.h"

#include "platform/file_checks.h"
#include "settings/color_presets.h"
#include "settings/location_lists.h"
#include "settings/setting_store.h"
#include "settings/window_placement.h"
#include "text/number_text.h"

#include <algorithm>
#include <limits>
#include <span>
#include <stdexcept>

namespace tellavin {

namespace {

constexpr std::string_view kPosition = "Position";
constexpr std::string_view kSettings = "Settings";

// How an option's key meets its control: a check box or option button
// value, a text, or a number shown in a text box.
enum class Stored { Value, Text, NumberText };

struct OptionKey {
    std::string_view key;
    std::string_view control;
    Stored stored;
    std::int16_t defaultNumber;
    std::string_view defaultText = {};
};

constexpr OptionKey kExportOptions[] = {
    {"Backup", "chkBackup", Stored::Value, 1},
    {"SkipThere", "chkSkipThere", Stored::Value, 1},
    {"LinksBefore", "chkLinksBefore", Stored::Value, 0},
    {"KeepOrder", "chkKeepOrder", Stored::Value, 0},
    {"OldErase", "optOldErase", Stored::Value, 0},
    {"OldMerge", "optOldMerge", Stored::Value, -1},
    {"Where0", "optWhere(0)", Stored::Value, 0},
    {"Where1", "optWhere(1)", Stored::Value, -1},
    {"Place0", "optPlace(0)", Stored::Value, 0},
    {"Place1", "optPlace(1)", Stored::Value, -1},
    {"Place2", "optPlace(2)", Stored::Value, 0},
};

// The one export option of the windows that write into a Favorites folder;
// the menu windows keep it beside their own options.
constexpr OptionKey kOrderOptions[] = {
    {"KeepOrder", "chkKeepOrder", Stored::Value, 0},
};

// The export options of the windows that write into a Favorites folder.
constexpr OptionKey kFavoritesOptions[] = {
    {"KeepOrder", "chkKeepOrder", Stored::Value, 0},
    {"SkipThere", "chkSkipThere", Stored::Value, 1},
};

constexpr OptionKey kMenuOptions[] = {
    {"OpenInNewWin", "chkOpenNew", Stored::Value, 1},
    {"ShowURL", "chkShowUrl", Stored::Value, 1},
    {"Vertical", "chkVertical", Stored::Value, 0},
    {"Shadows", "chkShadows", Stored::Value, 1},
    {"Statistics", "chkShowStatistics", Stored::Value, 0},
    {"PageTitle", "txtPageTitle", Stored::Text, 0, "Bookmarks By Tellavin"},
    {"BreakVertical", "chkMaxItems", Stored::Value, 1},
    {"BreakAfter", "txtMaxItems", Stored::NumberText, 25},
    {"ShowInBrowser", "chkShowBrowser", Stored::Value, 1},
};

// What a window kind keeps, in the order it is loaded and saved.
struct KindPlan {
    bool favorites = false;     // "FavLocation" and txtIELoc
    bool exportOptions = false; // kExportOptions
    bool whereRoot = false;     // "WhereRoot" / "WhereNew" and NNoptWhere
    std::optional<StoreList> nnLoc;
    std::optional<StoreList> fromLoc;
    bool menu = false; // menu pages, presets, kMenuOptions
};

std::optional<KindPlan> PlanOf(std::int32_t kind) {
    constexpr auto kNetscape = StoreList::Netscape;
    constexpr auto kOpera = StoreList::Opera;
    switch (kind) {
    case 1:
    case 3:
        return KindPlan{};
    case 2:
        return KindPlan{true, true, false, kNetscape, {}, false};
    case 7:
        return KindPlan{true, true, false, kOpera, {}, false};
    case 4:
        return KindPlan{true, false, true, kNetscape, {}, false};
    case 9:
        return KindPlan{true, false, true, kOpera, {}, false};
    case 8:
        return KindPlan{false, true, false, kOpera, kNetscape, false};
    case 10:
        return KindPlan{false, true, false, kNetscape, kOpera, false};
    case 5:
        return KindPlan{true, false, false, {}, {}, true};
    case 6:
        return KindPlan{false, false, false, kNetscape, {}, true};
    case 11:
        return KindPlan{false, false, false, kOpera, {}, true};
    default:
        return std::nullopt;
    }
}

struct PositionKeys {
    std::string_view left;
    std::string_view top;
    double screenShare; // default place: this share of the screen's size
};

PositionKeys PositionKeysOf(std::int32_t kind) {
    if (kind == 1) {
        return {"MainLeft", "MainTop", 1.0 / 3};
    }
    if (kind == 3) {
        return {"ThiLeft", "ThiTop", 0};
    }
    return {"SecLeft", "SecTop", 1.0 / 5};
}

template <typename Step> void IgnoringErrors(Step&& step) {
    try {
        step();
    } catch (const SettingError&) {
        // The control keeps the value it had.
    }
}

// A control a save needs is missing on the window.
class MissingControl : public std::runtime_error {
public:
    explicit MissingControl(std::string_view control)
        : std::runtime_error("The window has no control " + std::string(control)) {}
};

template <typename T> T Required(std::optional<T> value, std::string_view control) {
    if (!value) {
        throw MissingControl(control);
    }
    return std::move(*value);
}

std::int16_t Clamped16(std::int64_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

void RestorePlacement(CSetting& settings, std::int32_t kind, WindowControls& window) {
    auto screen = window.GetScreen();
    double tx = screen.twipsPerPixelX;
    double ty = screen.twipsPerPixelY;
    auto keys = PositionKeysOf(kind);
    std::int16_t leftDefault = TwipsFromPixels(screen.width * keys.screenShare, tx);
    std::int16_t topDefault = TwipsFromPixels(screen.height * keys.screenShare, ty);
    if (kind == 3) {
        auto rect = window.GetRect();
        rect.width = PixelsFromTwips(
            settings.GetSettingInt(kPosition, "ThiWidth", TwipsFromPixels(700, tx)), tx);
        rect.height = PixelsFromTwips(
            settings.GetSettingInt(kPosition, "ThiHeight", TwipsFromPixels(400, ty)), ty);
        window.SetRect(rect);
        leftDefault = TwipsFromPixels(50, tx);
        topDefault = TwipsFromPixels(100, ty);
    }
    auto left = settings.GetSettingInt(kPosition, keys.left, leftDefault);
    auto top = settings.GetSettingInt(kPosition, keys.top, topDefault);
    PlaceWindow(window, PixelsFromTwips(left, tx), PixelsFromTwips(top, ty));
}

void SavePlacement(CSetting& settings, std::int32_t kind, const WindowControls& window) {
    auto rect = window.GetRect();
    auto screen = window.GetScreen();
    auto keys = PositionKeysOf(kind);
    settings.SaveSettingInt(kPosition, keys.left,
                            TwipsFromPixels(rect.left, screen.twipsPerPixelX));
    settings.SaveSettingInt(kPosition, keys.top, TwipsFromPixels(rect.top, screen.twipsPerPixelY));
    if (kind == 3) {
        settings.SaveSettingInt(kPosition, "ThiWidth",
                                TwipsFromPixels(rect.width, screen.twipsPerPixelX));
        settings.SaveSettingInt(kPosition, "ThiHeight",
                                TwipsFromPixels(rect.height, screen.twipsPerPixelY));
    }
}

void LoadOption(CSetting& settings, const OptionKey& option, WindowControls& window) {
    switch (option.stored) {
    case Stored::Value:
        window.SetValue(option.control,
                        settings.GetSettingInt(kSettings, option.key, option.defaultNumber));
        break;
    case Stored::Text:
        window.SetText(option.control,
                       settings.GetSettingStr(kSettings, option.key, option.defaultText));
        break;
    case Stored::NumberText:
        window.SetText(option.control, std::to_string(settings.GetSettingInt(
                                           kSettings, option.key, option.defaultNumber)));
        break;
    }
}

void SaveOption(CSetting& settings, const OptionKey& option, const WindowControls& window) {
    switch (option.stored) {
    case Stored::Value:
        settings.SaveSettingInt(
            kSettings, option.key,
            Clamped16(Required(window.GetValue(option.control), option.control)));
        break;
    case Stored::Text:
        settings.SaveSettingStr(kSettings, option.key,
                                Required(window.GetText(option.control), option.control));
        break;
    case Stored::NumberText: {
        auto number = ParseLeadingInteger(Required(window.GetText(option.control), option.control));
        if (number && number->whole) {
            settings.SaveSettingInt(kSettings, option.key, Clamped16(number->value));
        }
        break;
    }
    }
}

void LoadOptions(CSetting& settings, std::span<const OptionKey> options, WindowControls& window) {
    for (const auto& option : options) {
        IgnoringErrors([&] { LoadOption(settings, option, window); });
    }
}

void SaveOptions(CSetting& settings, std::span<const OptionKey> options,
                 const WindowControls& window) {
    for (const auto& option : options) {
        SaveOption(settings, option, window);
    }
}

void LoadWhereRoot(CSetting& settings, WindowControls& window) {
    auto root = settings.GetSettingInt(kSettings, "WhereRoot", 0);
    window.SetValue("NNoptWhere(0)", root);
    window.SetValue("NNoptWhere(1)", root == 0 ? -1 : 0);
}

void LoadMenuWindow(CSetting& settings, WindowControls& window, const Platform& platform,
                    SessionState& session, PresetList* presets) {
    LoadMenuList(settings, window, session);
    if (presets != nullptr) {
        IgnoringErrors([&] { InstallBuiltinPresets(platform); });
        presets->LoadPresetList();
        presets->SelectByText(settings.GetSettingStr(kSettings, "ColorPreset", ""));
    }
    LoadOptions(settings, kMenuOptions, window);
    LoadOptions(settings, kOrderOptions, window);
}

void SaveList(CSetting& settings, StoreList list, const WindowControls& window,
              std::string_view combo) {
    if (!SaveStoreList(settings, list, window, combo)) {
        throw MissingControl(combo);
    }
}

void SaveWindow(CSetting& settings, std::int32_t kind, const KindPlan& plan,
                const WindowControls& window, const PresetList* presets) {
    SavePlacement(settings, kind, window);
    if (plan.favorites) {
        settings.SaveSettingStr(kSettings, "FavLocation",
                                Required(window.GetText("txtIELoc"), "txtIELoc"));
    }
    if (plan.exportOptions) {
        SaveOptions(settings, kExportOptions, window);
    }
    if (plan.whereRoot) {
        SaveOptions(settings, kFavoritesOptions, window);
        settings.SaveSettingInt(
            kSettings, "WhereRoot",
            Clamped16(Required(window.GetValue("NNoptWhere(0)"), "NNoptWhere(0)")));
        settings.SaveSettingInt(
            kSettings, "WhereNew",
            Clamped16(Required(window.GetValue("NNoptWhere(1)"), "NNoptWhere(1)")));
    }
    if (plan.nnLoc) {
        SaveList(settings, *plan.nnLoc, window, "cboNNLoc");
    }
    if (plan.fromLoc) {
        SaveList(settings, *plan.fromLoc, window, "cboFromLoc");
    }
    if (plan.menu) {
        if (!SaveMenuList(settings, window)) {
            throw MissingControl("cboDHTMLLoc");
        }
        if (presets != nullptr) {
            settings.SaveSettingStr(kSettings, "ColorPreset", presets->text());
        }
        SaveOptions(settings, kMenuOptions, window);
        SaveOptions(settings, kOrderOptions, window);
    }
}

} // namespace

void LoadWindowSettings(std::int32_t kind, WindowControls& window, const Platform& platform,
                        SessionState& session, PresetList* presets) {
    auto plan = PlanOf(kind);
    if (!plan) {
        return;
    }
    CSetting settings(platform);
    settings.Init();
    IgnoringErrors([&] { RestorePlacement(settings, kind, window); });
    if (plan->favorites) {
        auto folder = settings.GetSettingStr(kSettings, "FavLocation", "");
        if (FolderExists(folder)) {
            session.favoritesFolder = folder;
        }
    }
    if (plan->exportOptions) {
        LoadOptions(settings, kExportOptions, window);
    }
    if (plan->whereRoot) {
        LoadOptions(settings, kFavoritesOptions, window);
        IgnoringErrors([&] { LoadWhereRoot(settings, window); });
    }
    if (plan->nnLoc) {
        LoadStoreList(settings, *plan->nnLoc, window, "cboNNLoc");
    }
    if (plan->fromLoc) {
        LoadStoreList(settings, *plan->fromLoc, window, "cboFromLoc");
    }
    if (plan->menu) {
        LoadMenuWindow(settings, window, platform, session, presets);
    }
}

SettingsSaveResult SaveWindowSettings(std::int32_t kind, const WindowControls& window,
                                      const Platform& platform, const PresetList* presets) {
    auto plan = PlanOf(kind);
    if (!plan) {
        return {false, "No window of kind " + std::to_string(kind)};
    }
    try {
        CSetting settings(platform);
        settings.Init();
        SaveWindow(settings, kind, *plan, window, presets);
    } catch (const SettingError& error) {
        return {false, error.what()};
    } catch (const MissingControl& error) {
        return {false, error.what()};
    }
    return {};
}

} // namespace tellavin
