# Sourced: the Wine settings every run of Tavrilo and its tests uses. A Chinese Windows
# (code page 936), a prefix of the project's own, no debug chatter, no engine-download prompts.
tavrilo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$tavrilo_root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
