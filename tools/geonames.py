"""The GeoNames tables the default-data converters read (cities15000 and
countryInfo from Debian's libtimezonemap-data): tab-separated rows, comment
lines starting with '#'."""

# Columns of the cities table.
CITY_ASCII_NAME, CITY_LATITUDE, CITY_LONGITUDE = 2, 4, 5
CITY_FEATURE_CODE, CITY_COUNTRY, CITY_ADMIN1 = 7, 8, 10
CITY_POPULATION, CITY_TIMEZONE = 14, 17
# Columns of the country table.
COUNTRY_CODE, COUNTRY_POPULATION = 0, 7


def read_table(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip() and not line.startswith("#")]
