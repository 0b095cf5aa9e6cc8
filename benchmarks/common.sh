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

# probe_one FFMPEG THUMB FILE: the program's probe of one file, as it runs
# it: the prober's JSON answer, then the thumbnail when the file has
# pictures. The prober is the one beside FFMPEG (its link target's folder).
probe_one() {
    local tool=$1 thumb=$2 file=$3 prober
    prober="$(dirname "$(readlink -f "$tool")")/ffprobe"
    local entries="format=format_name,duration,start_time,bit_rate,probe_score"
    entries+=":stream=index,codec_type,codec_name,profile,pix_fmt,width,height,sample_aspect_ratio,"
    entries+="display_aspect_ratio,bit_rate,avg_frame_rate,r_frame_rate,time_base,sample_rate,"
    entries+="channels,channel_layout,sample_fmt,bits_per_sample"
    entries+=":stream_tags=language,title:stream_disposition=attached_pic"
    if "$prober" -v warning -of json -show_entries "$entries" -i "file:$file" 2>/dev/null |
        grep -q '"codec_type": "video"'; then
        "$tool" -v error -nostdin -i "file:$file" -an -sn -dn -frames:v 1 -f image2 -y \
            "file:$thumb" </dev/null >/dev/null 2>&1 || true
    fi
}
export -f probe_one

# bare_probes_ms FFMPEG THUMBFOLDER PARALLEL FILES...: wall time in ms of
# the program's probe commands for every file, PARALLEL files at a time,
# from this shell (xargs), each file with its own thumbnail.
bare_probes_ms() {
    local tool=$1 thumbs=$2 parallel=$3 start
    shift 3
    mkdir -p "$thumbs"
    start=$(date +%s%N)
    printf '%s\0' "$@" | xargs -0 -P "$parallel" -I{} bash -c \
        'probe_one "$0" "$1/$(basename "$2").jpg" "$2"' "$tool" "$thumbs" {}
    echo $(( ($(date +%s%N) - start) / 1000000 ))
}
