#!/usr/bin/env bash
# Installs what building and testing Tavrilo needs on Debian (run as root).
# Quick and silent when everything is already there.
set -euo pipefail

packages=(cmake ninja-build mingw-w64 googletest g++ wine wine32:i386 xvfb xdotool
          x11-apps locales fonts-wqy-microhei)

missing=()
dpkg --print-foreign-architectures | grep -qx i386 || missing+=(i386-arch)
for p in "${packages[@]}"; do
  dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
