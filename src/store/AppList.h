#pragma once
// The applications a profile is bound to, as the profile table's `app` column keeps them: one name per
// line ("\n" between names, no trailing newline). An empty column binds nothing, which is what every store
// made before bindings existed holds. Names are compared ignoring ASCII case; a list never holds the same
// name twice.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The names of a column, in stored order: blank lines and surrounding blanks are dropped, a carriage
// return before a newline is tolerated, and a repeated name (ignoring case) is kept once.
std::vector<std::string> ParseAppList(std::string_view column);
// The column text of a list (the inverse of ParseAppList for valid names).
std::string FormatAppList(const std::vector<std::string>& apps);

// Whether two application names are the same, ignoring ASCII case.
bool SameAppName(std::string_view a, std::string_view b);

// Why `name` cannot be a binding (empty, too long, a control character such as a newline), or empty.
std::string AppNameProblem(std::string_view name);
inline constexpr size_t kMaxAppNameBytes = 255;

}  // namespace quorvel
