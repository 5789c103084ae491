#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what arrived, runs the launcher with a
# stub editor in a temporary home, and builds the Debian package and checks its contents.
# Expects from CTest: BUILD_DIR, CMAKE, CPACK, BINDIR, PRIVATE_BINARY_DIR, SAMPLE_DATABASE_DIR,
# DESKTOP_ENTRY_DIR, ICON_DIR.
set -euo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
passed=0
failed=0

check() {
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what"
    fi
}

same_lines() { diff -u <(printf '%s\n' "$1") <(printf '%s\n' "$2"); }

sample_files="Glasses.Dat Help.Dat Ingredients.Dat Recipes.Dat"

expected_files() {
    {
        echo "$BINDIR/mixora-editor"
        echo "$BINDIR/mixora-dat"
        echo "$PRIVATE_BINARY_DIR/mixora-editor"
        for file in $sample_files; do echo "$SAMPLE_DATABASE_DIR/$file"; done
        echo "$DESKTOP_ENTRY_DIR/mixora-editor.desktop"
        echo "$ICON_DIR/mixora-editor.svg"
    } | sort
}

files_under() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }

same_as_sample() {
    for file in $sample_files; do
        cmp -s "$BUILD_DIR/sample-database/$file" "$1/$file" || return 1
    done
}

# --- What cmake --install puts where ---
"$CMAKE" --install "$BUILD_DIR" --prefix "$prefix" >/dev/null
check "installed files" same_lines "$(files_under "$prefix")" "$(expected_files)"
check "editor binary" cmp -s "$BUILD_DIR/mixora-editor" "$prefix/$PRIVATE_BINARY_DIR/mixora-editor"
check "launcher is executable" test -x "$prefix/$BINDIR/mixora-editor"
check "sample database" same_as_sample "$prefix/$SAMPLE_DATABASE_DIR"
desktop_entry=$prefix/$DESKTOP_ENTRY_DIR/mixora-editor.desktop
check "desktop entry is valid" desktop-file-validate "$desktop_entry"
check "desktop entry runs the launcher" grep -qx 'Exec=mixora-editor' "$desktop_entry"
check "desktop entry names the icon" grep -qx 'Icon=mixora-editor' "$desktop_entry"
check "icon is an SVG image" grep -q '<svg ' "$prefix/$ICON_DIR/mixora-editor.svg"

# --- The launcher, with a stub in place of the editor that tells where it runs from ---
install_stub() {
    printf '#!/bin/sh\necho "editor %s in $(dirname "$0"): $*"\n' "$1" \
        >"$prefix/$PRIVATE_BINARY_DIR/mixora-editor"
}
launcher=$prefix/$BINDIR/mixora-editor
home=$work/home
user_dir=$home/.local/share/mixora-editor
mkdir "$home"
launch() { (cd / && env -u XDG_DATA_HOME HOME="$home" "$@"); }

install_stub 1
check "first start runs a per-user copy with the arguments" \
    same_lines "$(launch "$launcher" --flag 'two words')" "editor 1 in $user_dir: --flag two words"
check "per-user copy is the installed binary" \
    cmp -s "$prefix/$PRIVATE_BINARY_DIR/mixora-editor" "$user_dir/mixora-editor"
check "Data is seeded with the sample database" same_as_sample "$user_dir/Data"
check "Data holds the four files only" \
    same_lines "$(ls "$user_dir/Data")" "$(printf '%s\n' $sample_files)"

echo "changed by the user" >>"$user_dir/Data/Recipes.Dat"
cp "$user_dir/Data/Recipes.Dat" "$work/user-recipes"
rm "$user_dir/Data/Help.Dat"
install_stub 2
check "a changed installed binary replaces the copy" \
    same_lines "$(launch "$launcher")" "editor 2 in $user_dir: "
check "an existing Data keeps its changed file" cmp -s "$work/user-recipes" "$user_dir/Data/Recipes.Dat"
check "nothing is added to an existing Data" \
    same_lines "$(ls -A "$user_dir/Data")" "$(printf 'Glasses.Dat\nIngredients.Dat\nRecipes.Dat')"
check "no temporary files are left" same_lines "$(ls -A "$user_dir")" "$(printf 'Data\nmixora-editor')"

mkdir "$work/bin"
ln -s ../prefix/"$BINDIR"/mixora-editor "$work/bin/mixora-editor"
check "a launcher reached through PATH and a symbolic link" \
    same_lines "$(launch env PATH="$work/bin:$PATH" mixora-editor)" "editor 2 in $user_dir: "
check "XDG_DATA_HOME chooses the per-user folder" \
    same_lines "$(cd / && XDG_DATA_HOME="$work/xdg" HOME="$home" "$launcher")" \
    "editor 2 in $work/xdg/mixora-editor: "
check "Data is seeded under XDG_DATA_HOME" same_as_sample "$work/xdg/mixora-editor/Data"

# --- The Debian package ---
"$CPACK" -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$work/deb" >/dev/null
package=$(echo "$work"/deb/*.deb)
check "package contents" same_lines \
    "$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' | sort)" \
    "$(expected_files)"
depends=$(dpkg-deb -f "$package" Depends)
# The package that holds Qt's X11 platform plugin here, without which no window opens.
x11_plugin=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' | cut -d: -f1)
for library in libqt6widgets6 libqt6printsupport6 "$x11_plugin" libqt6svg6 fonts-wine \
    fonts-liberation2; do
    check "package depends on $library" grep -q "$library" <<<"$depends"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
