#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that scripts/debian-packages.txt is enough on a fresh Debian machine,
# where install-deps.sh installs it with recommends off.
#
#   check-packages.sh [--list FILE] [--file PATH]... [--program NAME]... BUILD_DIR...
#
# From the CMake cache of each build it takes every package configuration
# folder (<Name>_DIR: the <Name>Config.cmake in it), every header folder
# (*INCLUDE*) and every program (compilers, linker tools, ninja, cmake) that
# lies under /usr; --file and --program add what other stages read. Each is
# mapped to the Debian package that owns it with dpkg-query -S. A package
# counts as installed when it is essential or of required priority (the base
# system), listed, or pulled in by the list through Depends and Pre-Depends
# (the first alternative of each choice, a virtual package's first
# provider). Anything owned by no package counted so is named, and the check
# fails; so does anything owned by no package at all, such as a file under
# /usr/local.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/debian-packages.txt
extra_files=()
builds=()
while [ $# -gt 0 ]; do
  case $1 in
    --list) list=$2; shift 2 ;;
    --file) extra_files+=("$2"); shift 2 ;;
    --program)
      found=$(command -v "$2") || { echo "check-packages: no program $2" >&2; exit 2; }
      extra_files+=("$found"); shift 2 ;;
    -*) echo "usage: check-packages.sh [--list FILE] [--file PATH]... [--program NAME]... BUILD_DIR..." >&2
        exit 2 ;;
    *) builds+=("$1"); shift ;;
  esac
done
if [ ${#builds[@]} -eq 0 ] && [ ${#extra_files[@]} -eq 0 ]; then
  echo "check-packages: name at least one build folder" >&2
  exit 2
fi
for build in "${builds[@]}"; do
  [ -f "$build/CMakeCache.txt" ] || { echo "check-packages: no CMakeCache.txt in $build" >&2; exit 2; }
done

# What the configure step read: "<what it is> <path>" per line.
used_paths() {
  local build
  for build in "${builds[@]}"; do
    awk -F= '
      /^[#\/]/ || NF < 2 { next }
      {
        split($1, key, ":"); name = key[1]; type = key[2]; value = substr($0, length($1) + 2)
        if (value !~ /^\/usr\//) next
        if (name ~ /_DIR$/ && type == "PATH") {
          package = substr(name, 1, length(name) - 4)
          config = value "/" package "Config.cmake"
          lower = value "/" tolower(package) "-config.cmake"
          if ((getline line < config) >= 0) { close(config); print name, config }
          else if ((getline line < lower) >= 0) { close(lower); print name, lower }
          else print name, value
        } else if (name ~ /INCLUDE/ && name !~ /^CMAKE_INSTALL_/ && (type == "PATH" || type == "FILEPATH")) {
          print name, value
        } else if (value ~ /^\/usr\/s?bin\// && (type == "FILEPATH" || type == "INTERNAL")) {
          print name, value
        }
      }' "$build/CMakeCache.txt"
  done
  local file
  for file in "${extra_files[@]}"; do
    echo "${file##*/} $file"
  done
}

# "<path> <package>" for each package that owns one of the paths given,
# without architecture. A path the package database does not know is looked
# up again under the name it resolves to (programs reached through the
# alternatives system) and under its name before /usr was merged (/bin/uname
# for /usr/bin/uname).
owners() {
  declare -A alias=()
  local path real
  for path in "$@"; do
    alias[$path]=$path
  done
  local known
  known=$(owner_lines "$@")
  [ -z "$known" ] || echo "$known"
  local unknown=()
  mapfile -t unknown < <(awk '{ print $1 }' <<<"$known" | sort -u |
                         comm -13 - <(printf '%s\n' "$@" | sort -u))
  local again=()
  for path in "${unknown[@]}"; do
    real=$(readlink -m "$path")
    for other in "$real" "${path#/usr}" "${real#/usr}"; do
      if [ "$other" != "$path" ] && [ -z "${alias[$other]:-}" ]; then
        alias[$other]=$path
        again+=("$other")
      fi
    done
  done
  [ ${#again[@]} -eq 0 ] && return 0
  owner_lines "${again[@]}" | while read -r found package; do
    echo "${alias[$found]} $package"
  done
}

# dpkg-query -S for the paths given, as "<path> <package>" lines.
owner_lines() {
  dpkg-query -S "$@" 2>/dev/null | awk '
    !/^diversion/ && index($0, ": /") {
      at = index($0, ": /")
      path = substr($0, at + 2)
      split(substr($0, 1, at - 1), names, ", ")
      for (i in names) { sub(/:.*/, "", names[i]); print path, names[i] }
    }' || true
}

# The packages a fresh machine has after installing the list: the base
# system, the list and what it pulls in through hard dependencies.
installed_on_fresh_machine() {
  dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' |
    awk '$2 == "yes" || $3 == "required" { print $1 }'
  mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$list")
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${wanted[@]}" |
    awk -v roots="${wanted[*]}" '
      function bare(name) { gsub(/[<>]/, "", name); sub(/:.*/, "", name); return name }
      /^[^ ]/ { package = bare($1); groups[package] += 0; open = 0; next }
      /^ [ |][A-Za-z-]*Depends: / {
        if (!open) { group = ++groups[package]; count[package, group] = 0 }
        alternative = ++count[package, group]
        target[package, group, alternative] = bare($2)
        virtual[package, group, alternative] = ($2 ~ /^</)
        providers[package, group, alternative] = 0
        open = (substr($0, 2, 1) == "|")
        next
      }
      /^    [^ ]/ {
        n = ++providers[package, group, alternative]
        provider[package, group, alternative, n] = bare($1)
      }
      function satisfied(p, g,    a, n) {
        for (a = 1; a <= count[p, g]; ++a) {
          if (target[p, g, a] in chosen) return 1
          for (n = 1; n <= providers[p, g, a]; ++n)
            if (provider[p, g, a, n] in chosen) return 1
        }
        return 0
      }
      function choose(name) {
        if (!(name in chosen)) { chosen[name] = 1; queue[++tail] = name }
      }
      END {
        split(roots, start, " ")
        for (i = 1; i in start; ++i) choose(start[i])
        for (head = 1; head <= tail; ++head) {
          p = queue[head]
          for (g = 1; g <= groups[p]; ++g) {
            if (count[p, g] == 0 || satisfied(p, g)) continue
            if (!virtual[p, g, 1]) choose(target[p, g, 1])
            else if (providers[p, g, 1] > 0) choose(provider[p, g, 1, 1])
          }
        }
        for (name in chosen) print name
      }'
}

declare -A fresh=()
while read -r package; do
  fresh[$package]=1
done < <(installed_on_fresh_machine)

mapfile -t used < <(used_paths | sort -u)
paths=()
for entry in "${used[@]}"; do
  paths+=("${entry#* }")
done
declare -A owned_by=()
while read -r path package; do
  owned_by[$path]+=" $package"
done < <(owners "${paths[@]}")

missing=0
for entry in "${used[@]}"; do
  what=${entry%% *}
  path=${entry#* }
  read -r -a packages <<<"${owned_by[$path]:-}"
  if [ ${#packages[@]} -eq 0 ]; then
    echo "MISSING: $what: $path belongs to no Debian package"
    missing=$((missing + 1))
    continue
  fi
  covered=0
  for package in "${packages[@]}"; do
    [ -n "${fresh[$package]:-}" ] && covered=1
  done
  if [ $covered -eq 0 ]; then
    echo "MISSING: $what: $path belongs to ${packages[*]}, which ${list##*/} neither lists" \
         "nor pulls in through hard dependencies"
    missing=$((missing + 1))
  fi
done

if [ $missing -ne 0 ]; then
  echo "check-packages: $missing of ${#used[@]} paths need a package a fresh machine would lack"
  exit 1
fi
echo "check-packages: all ${#used[@]} paths belong to packages a fresh machine would have"
