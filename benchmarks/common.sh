# Shared by the benchmark scripts: generated clips and bare probe runs.

# make_clips FOLDER N: N clips of 4 s, 640x360 h264 + aac, each its own tone.
make_clips() {
    local folder=$1 n=$2 i
    for i in $(seq 1 "$n"); do
        ffmpeg -hide_banner -loglevel error -nostdin -y \
            -f lavfi -i "testsrc2=size=640x360:rate=25:duration=4" \
            -f lavfi -i "sine=frequency=$((300 + i * 10)):duration=4" \
            -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac "$folder/clip$i.mp4"
    done
}

# bare_probes_ms FFMPEG THUMB FILES...: wall time in ms of the program's
# probe command run once per file, one after another, from this shell.
bare_probes_ms() {
    local tool=$1 thumb=$2 start f
    shift 2
    start=$(date +%s%N)
    for f in "$@"; do
        "$tool" -i "$f" -y -f image2 -t 1.520 "$thumb" </dev/null >/dev/null 2>&1 || true
    done
    echo $(( ($(date +%s%N) - start) / 1000000 ))
}
