// Resolving the player's bindings from the settings' names (see bindings.h).

#include "platform/bindings.h"

namespace bindings {
namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> namesOf(const std::string& value) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        names.push_back(trimmed(value.substr(start, comma - start)));
        if (comma == std::string::npos) {
            return names;
        }
        start = comma + 1;
    }
}

// One device's bindings: each game key's names looked up, the bad ones and the shared ones
// falling back to the defaults.
void resolveDevice(const settings::Binding (&given)[platform::KeyCount],
                   const settings::Binding (&defaults)[platform::KeyCount], const char* device,
                   const char* what, const Lookup& code, const Reserved& kept,
                   const std::string& fileName, KeyCodes (&out)[platform::KeyCount],
                   std::string (&names)[platform::KeyCount], std::vector<std::string>& warnings) {
    auto at = [&](int k) {
        return fileName + ":" + std::to_string(given[k].line) + ": " + device + "." +
               settings::KeyNames[k];
    };
    auto fallBack = [&](int k) {
        KeyCodes codes;
        int i = 0;
        for (const std::string& name : namesOf(defaults[k].names)) {
            codes.codes[i++] = code(name);
        }
        out[k] = codes;
        names[k] = defaults[k].names;
    };
    for (int k = 0; k < platform::KeyCount; ++k) {
        const std::vector<std::string> list = namesOf(given[k].names);
        std::string wrong;
        KeyCodes codes;
        for (std::size_t i = 0; i < list.size() && wrong.empty(); ++i) {
            const int c = code(list[i]);
            if (list.size() > Places) {
                wrong = "names more than " + std::to_string(Places) + " " + what + "s";
            } else if (c == None) {
                wrong = "names no " + std::string(what) + " ('" + list[i] + "')";
            } else if (const char* use = kept != nullptr ? kept(c) : nullptr) {
                wrong = "names " + list[i] + ", which is kept for " + use;
            } else {
                codes.codes[i] = c;
            }
        }
        if (wrong.empty()) {
            out[k] = codes;
            names[k] = given[k].names;
        } else {
            warnings.push_back(at(k) + " " + wrong + ": " + defaults[k].names +
                               " stands for it, as by default");
            fallBack(k);
        }
    }
    // A key bound to two game keys: the later ones take their defaults, until none is shared.
    for (bool changed = true; changed;) {
        changed = false;
        for (int k = 1; k < platform::KeyCount && !changed; ++k) {
            for (int j = 0; j < k && !changed; ++j) {
                for (int a : out[k].codes) {
                    for (int b : out[j].codes) {
                        if (a != None && a == b) {
                            // The one given away from its default falls back to it: the
                            // later one, unless that is its default and the earlier is not.
                            const int back = names[k] == defaults[k].names ? j : k;
                            const int other = back == k ? j : k;
                            warnings.push_back(at(back) + " shares a " + what + " with " + device +
                                               "." + settings::KeyNames[other] + ": " +
                                               defaults[back].names +
                                               " stands for it, as by default");
                            fallBack(back);
                            changed = true;
                        }
                    }
                }
            }
        }
    }
}

bool keyOf(const KeyCodes (&codes)[platform::KeyCount], int code, platform::Key& key, int& place) {
    for (int k = 0; k < platform::KeyCount; ++k) {
        for (int i = 0; i < Places; ++i) {
            if (code != None && codes[k].codes[i] == code) {
                key = static_cast<platform::Key>(k);
                place = i;
                return true;
            }
        }
    }
    return false;
}

} // namespace

Bindings resolve(const settings::Settings& s, const Lookup& keyCode, const Reserved& keyKept,
                 const Lookup& padCode, const std::string& fileName,
                 std::vector<std::string>& warnings) {
    const settings::Settings defaults;
    Bindings b;
    resolveDevice(s.keys, defaults.keys, "key", "key", keyCode, keyKept, fileName, b.keyboard,
                  b.keyboardNames, warnings);
    resolveDevice(s.pads, defaults.pads, "pad", "pad input", padCode, nullptr, fileName, b.pad,
                  b.padNames, warnings);
    return b;
}

bool keyboardKeyOf(const Bindings& b, int code, platform::Key& key, int& place) {
    return keyOf(b.keyboard, code, key, place);
}

bool padKeyOf(const Bindings& b, int code, platform::Key& key, int& place) {
    return keyOf(b.pad, code, key, place);
}

} // namespace bindings
