#!/usr/bin/env bash
# Fills a program folder with the default data, made from Debian packages by the
# converters beside this script. Each output is made only when it is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dest=${1:?usage: prepare-data.sh PROGRAM_DIR}
mkdir -p "$dest"/{data,map,de_files,tle,webdwn,satfavorites}
py=/usr/bin/python3   # Debian's interpreter: it sees Debian's Python modules

# Each converter is registered here as: output (relative to dest) and command.
make_if_missing() { # make_if_missing OUTPUT COMMAND...
  local out=$dest/$1; shift
  [ -s "$out" ] && return 0
  echo "Preparing $out"
  "$@" "$out"
}
make_if_missing de_files/1957_2050.423 "$py" "$here/de405_to_jpl.py"

# World images (NASA Visible Earth, via xplanet-images) and the map's places
# (GeoNames, via libtimezonemap-data).
make_if_missing map/default.jpg "$py" "$here/make_map_images.py" /usr/share/xplanet/images/earth.jpg
make_if_missing map/Real_Color_x.jpg "$py" "$here/make_map_images.py" /usr/share/xplanet/images/earth.jpg
make_if_missing map/night_lights.jpg "$py" "$here/make_map_images.py" /usr/share/xplanet/images/night.jpg
make_if_missing data/MapLocations.dat "$py" "$here/make_map_locations.py" \
  /usr/share/libtimezonemap/ui/cities15000.txt /usr/share/libtimezonemap/ui/countryInfo.txt
# The location window's places (GeoNames) and time zones (tzdata).
make_if_missing data/Locations.dat "$py" "$here/make_locations.py" places \
  /usr/share/libtimezonemap/ui/cities15000.txt
make_if_missing data/Timezone.dat "$py" "$here/make_locations.py" zones \
  /usr/share/libtimezonemap/ui/cities15000.txt /usr/share/zoneinfo/zone1970.tab
# Stars, star names and constellation figures (npm package d3-celestial).
make_if_missing data/Stars.bin "$py" "$here/make_star_catalogs.py" stars
make_if_missing data/starname.bin "$py" "$here/make_star_catalogs.py" names
make_if_missing data/Constellations.bin "$py" "$here/make_star_catalogs.py" constellations
make_if_missing data/star.dat "$py" "$here/make_star_catalogs.py" picker
# Element sets and satellite names shipped with gpredict (epoch 2018).
make_if_missing tle/gpredict.tle "$py" "$here/make_default_elements.py" elements \
  /usr/share/gpredict/data/satdata/satellites.dat
make_if_missing data/qvnames.dat "$py" "$here/make_default_elements.py" names \
  /usr/share/gpredict/data/satdata/satellites.dat

# The download list: CelesTrak groups (stations and visual selected) and two
# Space-Track queries, unselected, that need the user's own account.
write_download_list() { # write_download_list OUTPUT
  local group selected line
  {
    for group in stations visual weather noaa gps-ops iridium-NEXT amateur science active; do
      case $group in stations|visual) selected=1 ;; *) selected=0 ;; esac
      printf '%s 0  %-5s%-20s%s\r\n' "$selected" "(Ot)" "$group" \
        "https://celestrak.org/NORAD/elements/gp.php?GROUP=$group&FORMAT=tle"
    done
    for line in "st-iss class/gp/NORAD_CAT_ID/25544/format/3le" \
                "st-recent class/gp/decay_date/null-val/epoch/%3Enow-30/orderby/norad_cat_id/format/3le"; do
      printf '0 0  %-5s%-20s%s\r\n' "(ST)" "${line%% *}" \
        "https://www.space-track.org/basicspacedata/query/${line#* }"
    done
  } > "$1"
}
make_if_missing data/dwnlist.dat write_download_list
