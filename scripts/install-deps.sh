#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need.
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
    build-essential cmake ninja-build pkg-config ca-certificates \
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
    qt6-qpa-plugins libqt6opengl6-dev libgl-dev \
    libmpv-dev libavformat-dev ffmpeg \
    xvfb xauth x11-utils procps openssl curl \
    fonts-liberation2 fonts-lato fonts-wqy-microhei qt6-translations-l10n \
    dpkg-dev file desktop-file-utils appstream xdotool libxdamage-dev
