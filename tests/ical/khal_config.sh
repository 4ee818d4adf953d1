# Sourced by the calendar checks: writes a khal configuration with one calendar and
# numeric dates and times, so its listing can be compared line by line.
#   write_khal_config CONFIG_HOME CALENDAR_NAME CALENDAR_PATH ZONE
write_khal_config() {
    mkdir -p "$1/khal"
    cat > "$1/khal/config" <<EOF2
[calendars]
[[$2]]
path = $3
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = $4
default_timezone = $4
EOF2
}
