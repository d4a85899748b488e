#include "cli/CliArgs.h"

#include <charconv>

namespace quorvel::cli {

namespace {

// "--name=value" splits; "--name" leaves *value unset.
void SplitOption(const std::string& word, std::string* name, std::optional<std::string>* value) {
    const size_t equals = word.find('=');
    if (equals == std::string::npos) {
        *name = word.substr(2);
        value->reset();
    } else {
        *name = word.substr(2, equals - 2);
        *value = word.substr(equals + 1);
    }
}

}  // namespace

bool ParseGlobalOptions(int argc, const char* const* argv, GlobalOptions* out, std::string* error) {
    *out = GlobalOptions{};
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");

    bool passThrough = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (passThrough) {
            out->words.push_back(word);
            continue;
        }
        if (word == "--") {
            // Kept for the command, which ends its own option parsing there too.
            passThrough = true;
            out->words.push_back(word);
            continue;
        }
        if (word == "-h" || word == "--help") {
            out->help = true;
            continue;
        }
        if (word.rfind("--", 0) != 0) {
            out->words.push_back(word);
            continue;
        }
        std::string name;
        std::optional<std::string> value;
        SplitOption(word, &name, &value);
        if (name == "json") {
            if (value) {
                *error = "--json takes no value";
                return false;
            }
            out->json = true;
            continue;
        }
        if (name != "product" && name != "virtual" && name != "device") {
            out->words.push_back(word);  // the command's own option
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                *error = "--" + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (name == "product") {
            if (value->empty()) {
                *error = "--product needs a folder";
                return false;
            }
            out->productDir = *value;
        } else if (name == "virtual") {
            out->virtualSpecs.push_back(*value);
        } else {
            int type = 0;
            if (!ParseInt(*value, &type) || type <= 0) {
                *error = "--device needs a device_type number, not \"" + *value + "\"";
                return false;
            }
            out->deviceType = type;
        }
    }
    return true;
}

bool CommandArgs::Parse(const std::set<std::string>& valueOptions, const std::set<std::string>& flagOptions,
                        std::string* error) {
    positional_.clear();
    values_.clear();
    flags_.clear();
    bool optionsEnded = false;
    for (size_t i = 0; i < words_.size(); ++i) {
        const std::string& word = words_[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-' || word == "-") {
            positional_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word.rfind("--", 0) != 0) {
            *error = "unknown option \"" + word + "\"";
            return false;
        }
        std::string name;
        std::optional<std::string> value;
        SplitOption(word, &name, &value);
        if (flagOptions.count(name)) {
            if (value) {
                *error = "--" + name + " takes no value";
                return false;
            }
            flags_.insert(name);
            continue;
        }
        if (!valueOptions.count(name)) {
            *error = "unknown option \"--" + name + "\"";
            return false;
        }
        if (!value) {
            if (i + 1 >= words_.size()) {
                *error = "--" + name + " needs a value";
                return false;
            }
            value = words_[++i];
        }
        values_[name] = *value;
    }
    return true;
}

std::optional<std::string> CommandArgs::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

bool ParseInt(std::string_view text, int* value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') return false;
    int parsed = 0;
    auto [end, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || end != last) return false;
    *value = parsed;
    return true;
}

bool ParseOnOff(std::string_view text, bool* value) {
    if (text == "on" || text == "1" || text == "yes" || text == "true") {
        *value = true;
        return true;
    }
    if (text == "off" || text == "0" || text == "no" || text == "false") {
        *value = false;
        return true;
    }
    return false;
}

}  // namespace quorvel::cli
