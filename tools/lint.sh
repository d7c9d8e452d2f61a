#!/usr/bin/env bash
# The style the tools keep.
#   tools/lint.sh format          every C++ file against .clang-format
#   tools/lint.sh tidy BUILD_DIR  .clang-tidy on the product sources the
#                                 change touches, with BUILD_DIR's compile
#                                 commands
# "The change" is the commits of the 4 hours before the newest one (a
# session's work), less the format-only commits that .git-blame-ignore-revs
# names; ONDRIX_LINT_SINCE=REV names its first commit's parent instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
ondrix_install_packages clang-format clang-tidy

PRODUCT='^(interfaces|ModuleRZ450|PlugHub|GuiKit|GuiModuleRZ450|OndrixClient|OndrixServer|ondrixctl)/'

check_format() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    echo "Formatting: no difference."
}

changed_files() {
    local since range ignored commit
    since="${ONDRIX_LINT_SINCE:-}"
    if [ -n "$since" ]; then
        range="$since..HEAD"
    else
        range="HEAD --since=$(($(git log -1 --format=%ct HEAD) - 4 * 3600))"
    fi
    ignored=$(grep -Eo '^[0-9a-f]{40}' .git-blame-ignore-revs 2>/dev/null || true)
    # shellcheck disable=SC2086 # the range is two words when it is a date
    for commit in $(git rev-list --no-merges $range); do
        grep -qx "$commit" <<<"$ignored" && continue
        git diff-tree --no-commit-id --name-only -r --diff-filter=AMR "$commit"
    done | sort -u
}

# A header is checked through the source of the same name.
tidy_sources() {
    local file
    changed_files | grep -E "$PRODUCT" | while read -r file; do
        file="${file%.h}"
        file="${file%.cpp}.cpp"
        # An if, not &&: a last name with no source must not fail the pipe.
        if [ -f "$file" ]; then echo "$file"; fi
    done | sort -u
}

check_tidy() {
    local build="$1" files
    [ -f "$build/compile_commands.json" ] || { echo "No $build/compile_commands.json: build first."; exit 1; }
    files=$(tidy_sources)
    if [ -z "$files" ]; then
        echo "clang-tidy: the change touches no product source."
        return 0
    fi
    echo "clang-tidy on $(wc -l <<<"$files") files the change touches"
    xargs -P2 -n4 clang-tidy -p "$build" --quiet <<<"$files"
    echo "clang-tidy: no finding."
}

case "${1:-}" in
    format) check_format ;;
    tidy) check_tidy "${2:-build}" ;;
    *) echo "usage: tools/lint.sh format | tidy BUILD_DIR"; exit 2 ;;
esac
