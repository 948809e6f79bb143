# Sourced by tools/run and tools/test: installs the Debian packages that are missing.
# Usage: ensure_packages pkg...

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2
            return 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    # Another install may hold the package lock (a second build on the same machine): wait for it.
    local wait=(-o DPkg::Lock::Timeout=600)
    "${sudo[@]}" apt-get "${wait[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the program needs, Qt's Russian translations included, and for the batch
# mode's workbooks libzip, expat and libxlsxwriter.
BUILD_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core qt6-translations-l10n
    libzip-dev libexpat1-dev libxlsxwriter-dev)
# What the tests need on top: GoogleTest, LibreOffice to read the document report back and to make and
# read the batch mode's workbooks, tidy for the
# help pages and libxml2 to read them, setpriv (util-linux) for the unwritable-folder cases,
# clang-format for the style check and clang-tidy for the static checks, for reading the running
# program through the accessibility bus a virtual display, a session bus, the bus itself and pyatspi;
# the desktop's validators of the desktop entry and the AppStream metadata; and for the Debian package:
# cpack's dependency scan (dpkg-dev, file), lintian, and xdotool and xprop to drive the installed
# program on the virtual display.
TEST_PACKAGES=(libgtest-dev libgmock-dev libreoffice-writer-nogui libreoffice-calc-nogui tidy libxml2-dev util-linux clang-format clang-tidy
    xvfb xauth dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    desktop-file-utils appstream dpkg-dev file lintian xdotool x11-utils)

# What the browser edition needs: Debian's emscripten (with its clang, binaryen and Node's modules), and
# for its test in a real browser Chromium, its driver and Selenium for Debian's python3.
WEB_PACKAGES=(cmake make emscripten)
WEB_TEST_PACKAGES=(chromium chromium-driver python3-selenium)

# What the Windows edition needs: Debian's mingw-w64 cross compiler (64 bits, posix threads), Debian's
# zlib built by it, and wixl and msibuild (msitools) for the installer; for its tests Wine (64 bits) runs
# the programs and the installer, and msiinfo (msitools) reads the installer's tables.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix wixl msitools libz-mingw-w64-dev)
WINDOWS_TEST_PACKAGES=(wine64)

# Configures and builds one preset of CMakePresets.json (release: build/, asan: build-asan/, ...). The
# cross builds first get their workbook libraries (tools/workbook-libraries, kept once built).
configure_and_build() {
    local preset=$1
    shift
    case $preset in
    web | windows) "$ROOT/tools/workbook-libraries" "$preset" ;;
    esac
    (cd "$ROOT" && cmake --preset "$preset" "$@" && cmake --build --preset "$preset" -j "$(nproc)")
}
