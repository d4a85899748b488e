#include "cli/ChangeReport.h"

#include "cli/SettingMeaning.h"

namespace quorvel::cli {

std::string StoredLine(const std::string& key, const std::string& value) {
    const std::string meaning = SettingMeaning(key, value);
    return "stored " + key + " = " + value + (meaning.empty() ? "" : "  (" + meaning + ")");
}

void AddMeanings(const ActionResult& result, Json* doc) {
    Json meanings = Json::object();
    for (const auto& [key, value] : result.stored) {
        const std::string meaning = SettingMeaning(key, value);
        if (!meaning.empty()) meanings[key] = meaning;
    }
    if (!meanings.empty()) (*doc)["meaning"] = meanings;
}

std::string JoinFailures(const std::vector<std::string>& failures) {
    std::string text;
    for (const std::string& f : failures) text += (text.empty() ? "" : "; ") + f;
    return text;
}

}  // namespace quorvel::cli
