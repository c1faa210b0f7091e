#!/usr/bin/env python3
"""Writes the built-in units-of-measure catalogue (assets/units_catalogue.txt).

The catalogue is one "name=value" line per entry, each line ended by a single CR and
no LF, in the Windows Cyrillic code page (1251). Run from the repository root:
    python3 tools/make_units_catalogue.py
"""
import pathlib
import sys

EMPTY = "\x01"  # an abbreviation of this one character stands for an empty one

# (English name, Russian name, units); a unit is
# (English abbreviation, Russian abbreviation, English description, Russian description, multiplier).
# Unit 0 of each category is its base unit.
CATEGORIES = [
    ("<Dimless>", "<Безразмерная>", [
        (EMPTY, EMPTY, "<Dimless>", "<Безразмерная>", "1"),
        ("%", "%", "Percent [%]", "Проценты [%]", "0.01"),
    ]),
    ("Acceleration", "Ускорение", [
        ("m/s^2", "м/с^2", "Acceleration [m/s^2]", "Ускорение [м/с^2]", "1"),
        ("g", "g", "Acceleration due to gravity [g]", "Ускорение свободного падения [g]", "9.81"),
    ]),
    ("Activity", "Активность", [
        ("Bq", "Бк", "Becquerel [Bq]", "Беккерели [Бк]", "1"),
    ]),
    ("Angle", "Угол", [
        ("rad", "рад", "Radians [rad]", "Радианы [рад]", "1"),
        ("sr", "ср", "Steradian [sr]", "Стерадианы [ср]", "1"),
        ("deg", "град", "Degrees [deg]", "Градусы [град]", "0.0174532925199433"),
    ]),
    ("Area", "Площадь", [
        ("m^2", "м^2", "Square meters [m^2]", "Квадратные метры [м^2]", "1"),
        ("acre", "акр", "Acres [acre]", "Акры [акр]", "4046.8564224"),
        ("hectare", "га", "Hectares [hectare]", "Гектары [га]", "10000"),
    ]),
    ("Capacity", "Электроёмкость", [
        ("F", "Ф", "Farad [F]", "Фарады [Ф]", "1"),
        ("microF", "мкФ", "Microfarads [microfarad]", "Микрофарады [мкФ]", "1E-6"),
        ("nF", "нФ", "Nanofarads [nF]", "Нанофарады [нФ]", "1E-9"),
        ("pF", "пФ", "Picofarads [pF]", "Пикофарады [пФ]", "1E-12"),
    ]),
    ("Charge", "Электрический заряд", [
        ("C", "Кл", "Coloumb [C]", "Кулоны [Кл]", "1"),
    ]),
    ("Conductance", "Электропроводность", [
        ("S", "См", "Siemens [S]", "Сименсы [См]", "1"),
        ("mho", "мо", "Mho [mho]", "Мо (обратный ом) [мо]", "1"),
    ]),
    ("Current", "Сила тока", [
        ("A", "А", "Ampere [A]", "Амперы [А]", "1"),
        ("kA", "кА", "Kiloamps [kA]", "Килоамперы [кА]", "1000"),
        ("microA", "мкА", "Microamps [microamp]", "Микроамперы [мкА]", "1E-6"),
        ("mA", "мА", "Milliamps [mA]", "Миллиамперы [мА]", "0.001"),
    ]),
    ("Density", "Плотность", [
        ("kg/m^3", "кг/м^3", "Kilograms per cubic meter [kg/m^3]", "Килограммы на куб. метр [кг/м^3]", "1"),
        ("g/cm^3", "г/см^3", "Grams per cubic centimeter [g/cm^3]", "Граммы на куб. сантиметр [г/см^3]", "1000"),
    ]),
    ("Doze", "Doze", [
        ("Sv", "Зв", "Sievert [Sv]", "Зиверты [Зв]", "1"),
        ("Gy", "Гр", "Gray [Gy]", "Греи [Гр]", "1"),
    ]),
    ("Illuminosity", "Illuminosity", [
        ("lx", "лк", "Lux [lx]", "Люксы [лк]", "1"),
    ]),
    ("Energy", "Энергия", [
        ("J", "Дж", "Joules [J]", "Джоули [Дж]", "1"),
        ("BTU", "БТЕ", "BTU's - Int. Table [BTU]", "БТЕ - междунар. [БТЕ]", "1055.05585262"),
        ("IBTU", "БТЕ ISO", "BTU's - ISO [IBTU]", "БТЕ - ISO [БТЕ ISO]", "1054.5"),
        ("mBTU", "БТЕ ср.", "BTU's - mean [mBTU]", "БТЕ - средние [БТЕ ср.]", "1055.87"),
        ("BTU15", "БТЕ15", "BTU's - 15 C [BTU15]", "БТЕ - при 15 °C [БТЕ15]", "1054.8"),
        ("tBTU", "БТЕ тх", "BTU's - thermochemical [tBTU]", "БТЕ - термохим. [БТЕ тх]", "1054.35"),
        ("CBTU", "БТЕ кан.", "BTU's - Canadian [CBTU]", "БТЕ - канадские [БТЕ кан.]", "1054.615"),
        ("cal", "кал", "Calories - Int. Table [cal]", "Калории - междунар. [кал]", "4.1868"),
        ("dcal", "кал пищ.", "Calories - dietetic [dcal]", "Калории - пищевые [кал пищ.]", "4185.5"),
        ("mcal", "кал ср.", "Calories - mean [mcal]", "Калории - средние [кал ср.]", "4.19002"),
        ("cal15", "кал15", "Calories - 15 C [cal15]", "Калории - при 15 °C [кал15]", "4.1858"),
        ("tcal", "кал тх", "Calories - thermochemical [tcal]", "Калории - термохим. [кал тх]", "4.184"),
        ("cal20", "кал20", "Calories - 20 C [cal20]", "Калории - при 20 °C [кал20]", "4.1819"),
        ("kcal", "ккал", "Kilocalories [kcal]", "Килокалории [ккал]", "4186.8"),
        ("erg", "эрг", "Ergs [erg]", "Эрги [эрг]", "1E-7"),
    ]),
    ("Force", "Сила", [
        ("N", "Н", "Newtons [N]", "Ньютоны [Н]", "1"),
        ("kN", "кН", "Kilonewtons [kN]", "Килоньютоны [кН]", "1000"),
        ("dyne", "дин", "Dynes [dyne]", "Дины [дин]", "1E-5"),
        ("kgf", "кгс", "Kilogram force [kgf]", "Килограмм-силы [кгс]", "9.80665"),
        ("lbf", "фунт-с", "Pounds force [lbf]", "Фунт-силы [фунт-с]", "4.4482216152605"),
    ]),
    ("Frequency", "Частота", [
        ("Hz", "Гц", "Hertz - sampling [Hz]", "Герцы - циклическая [Гц]", "1"),
        ("GHz", "ГГц", "Gigahertz [GHz]", "Гигагерцы [ГГц]", "1000000000"),
        ("Hza", "Гц угл.", "Hertz - angular [Hza]", "Герцы - угловая [Гц угл.]", "6.28318530727959"),
        ("KHz", "кГц", "Kilohertz [KHz]", "Килогерцы [кГц]", "1000"),
        ("MHz", "МГц", "Megahertz [MHz]", "Мегагерцы [МГц]", "1000000"),
    ]),
    ("Inductance", "Inductance", [
        ("H", "Гн", "Henrys [H]", "Генри [Гн]", "1"),
        ("microH", "мкГн", "Microhenrys [microhenry]", "Микрогенри [мкГн]", "1E-6"),
        ("mH", "мГн", "Millihenrys [mH]", "Миллигенри [мГн]", "0.001"),
    ]),
    ("Length", "Длина", [
        ("m", "м", "Meters [m]", "Метры [м]", "1"),
        ("cm", "см", "Centimeters [cm]", "Сантиметры [см]", "0.01"),
        ("km", "км", "Kilometers [km]", "Километры [км]", "1000"),
        ("mm", "мм", "Millimeters [mm]", "Миллиметры [мм]", "0.001"),
        ("in", "дюйм", "Inches [in]", "Дюймы [дюйм]", "0.0254"),
        ("ft", "фут", "Feet [ft]", "Футы [фут]", "0.3048"),
        ("mi", "миля", "Miles [mi]", "Мили [миля]", "1609.344"),
        ("nmi", "мор. миля", "Nautical Miles [mi]", "Морские мили [мор. миля]", "1852"),
        ("yd", "ярд", "Yards [yd]", "Ярды [ярд]", "0.9144"),
    ]),
    ("Luminosity", "Luminosity", [
        ("lm", "лм", "Lumen [lm]", "Люмены [лм]", "1"),
        ("cd", "кд", "Candela [cd]", "Канделы [кд]", "1"),
    ]),
    ("Magnetic Field Strength", "Magnetic Field Strength", [
        ("Oe", "Э", "Oersted [Oe]", "Эрстеды [Э]", "1"),
    ]),
    ("Magnetic Flux", "Magnetic Flux", [
        ("Wb", "Вб", "Webers [Wb]", "Веберы [Вб]", "1"),
    ]),
    ("Magnetic Flux Density", "Magnetic Flux Density", [
        ("G", "Гс", "Gauss [G]", "Гауссы [Гс]", "1"),
        ("T", "Тл", "Teslas [T]", "Теслы [Тл]", "1"),
    ]),
    ("Mass", "Масса", [
        ("kg", "кг", "Kilograms [kg]", "Килограммы [кг]", "1"),
        ("gm", "г", "Grams [gm]", "Граммы [г]", "0.001"),
        ("mg", "мг", "Milligrams [mg]", "Миллиграммы [мг]", "1E-6"),
        ("lb", "фунт", "Pounds[mass] [lb]", "Фунты [фунт]", "0.45359237"),
        ("ton", "кор. т", "Tons [ton]", "Короткие тонны [кор. т]", "907.18474"),
        ("oz", "унц", "Ounces [oz]", "Унции [унц]", "0.028349523125"),
        ("slug", "слаг", "Slugs [slug]", "Слаги [слаг]", "14.5939029372064"),
        ("tonne", "т", "Metric tons [tonne]", "Метрические тонны [т]", "1000"),
    ]),
    ("Power", "Мощность", [
        ("W", "Вт", "Watts [W]", "Ватты [Вт]", "1"),
        ("hp", "л.с. мех.", "Horsepower - 550 ft lbf/s [hp]", "Лошадиные силы (мех.) [л.с. мех.]", "745.69987158227"),
        ("hhp", "л.с. гидр.", "Horsepower - water [hhp]", "Лошадиные силы (гидр.) [л.с. гидр.]", "746.043"),
        ("mhp", "л.с.", "Horsepower - metric [mhp]", "Лошадиные силы (метр.) [л.с.]", "735.49875"),
        ("hpUK", "л.с. брит.", "Horsepower - UK [hpUK]", "Лошадиные силы (брит.) [л.с. брит.]", "745.7"),
        ("bhp", "л.с. кот.", "Horsepower - boiler [bhp]", "Лошадиные силы (котел.) [л.с. кот.]", "9809.5"),
        ("ehp", "л.с. эл.", "Horsepower - electric [ehp]", "Лошадиные силы (электр.) [л.с. эл.]", "746"),
        ("kW", "кВт", "Kilowatts [kW]", "Киловатты [кВт]", "1000"),
    ]),
    ("Potential", "Potential", [
        ("V", "В", "Volts [V]", "Вольты [В]", "1"),
        ("KV", "кВ", "Kilovolts [KV]", "Киловольты [кВ]", "1000"),
        ("mV", "мВ", "Millivolts [mV]", "Милливольты [мВ]", "0.001"),
    ]),
    ("Pressure", "Давление", [
        ("Pa", "Па", "Pascals [Pa]", "Паскали [Па]", "1"),
        ("atm", "атм", "Atmospheres [atm]", "Атмосферы [атм]", "101325"),
        ("psi", "psi", "Pounds per square inch [psi]", "Фунты на кв. дюйм [psi]", "6894.75729316836"),
        ("in_Hg", "дюйм рт.ст.", "Inches of mercury [in_Hg]", "Дюймы рт. столба [дюйм рт.ст.]", "3376.86427794708"),
        ("torr", "торр", "Torr [torr]", "Торры [торр]", "133.322312022206"),
    ]),
    ("Resistance", "Сопротивление", [
        ("ohm", "Ом", "Ohms [ohm]", "Омы [Ом]", "1"),
        ("Kohm", "кОм", "Kilo-ohms [Kohm]", "Килоомы [кОм]", "1000"),
        ("Mohm", "МОм", "Mega-ohms [Mohm]", "Мегаомы [МОм]", "1000000"),
    ]),
    ("Substance", "Substance", [
        ("mol", "моль", "Mole [mol]", "Моли [моль]", "1"),
    ]),
    ("Temperature", "Температура", [
        ("K", "К", "Kelvin [K]", "Кельвины [К]", "1"),
        ("R", "°R", "Rankine [R]", "Градусы Ранкина [°R]", "0.555555555555556"),
    ]),
    ("Time", "Время", [
        ("sec", "с", "Seconds [sec]", "Секунды [с]", "1"),
        ("mksec", "мкс", "Microseconds [msec]", "Микросекунды [мкс]", "1E-6"),
        ("msec", "мс", "Milliseconds [msec]", "Миллисекунды [мс]", "0.001"),
        ("day", "сут", "Days [day]", "Сутки [сут]", "86400"),
        ("min", "мин", "Minutes [min]", "Минуты [мин]", "60"),
        ("yr", "год", "Years [yr]", "Годы [год]", "31556926"),
        ("hr", "ч", "Hours [hr]", "Часы [ч]", "3600"),
    ]),
    ("Velocity", "Скорость", [
        ("m/s", "м/с", "Meters per Second [m/s]", "Метры в секунду [м/с]", "1"),
        ("kph", "км/ч", "Kilometers per hour [kph]", "Километры в час [км/ч]", "0.277777777777778"),
        ("mph", "миль/ч", "Miles per hour [mph]", "Мили в час [миль/ч]", "0.44704"),
        ("c", "c", "Speed of light [c]", "Скорость света [c]", "299792458"),
        ("knot", "уз", "Knot (naval miles per hour) [knot]", "Узлы (мор. мили в час) [уз]", "0.514444444444444"),
    ]),
    ("Viscosity Dynamic", "Viscosity Dynamic", [
        ("poise", "П", "Poise [poise]", "Пуазы [П]", "1"),
    ]),
    ("Viscosity Kinematic", "Viscosity Kinematic", [
        ("m^2/s", "м^2/с", "Meter^2/Second", "Метр^2/секунда", "1"),
        ("stokes", "Ст", "Stokes [stokes]", "Стоксы [Ст]", "0.0001"),
    ]),
]

LANGUAGES = ["ENU", "RUS"]


def catalogue_lines():
    lines = [
        "LanguageDefault=1",
        "LanguageCount=%d" % len(LANGUAGES),
    ]
    lines += ["Language%d=%s" % (k, code) for k, code in enumerate(LANGUAGES)]
    lines += ["DecimalDelimeter=.", "DimensionCount=%d" % len(CATEGORIES)]
    for i, (name_en, name_ru, units) in enumerate(CATEGORIES):
        lines += ["Cnt_%d=%d" % (i, len(units)), "Ctg_%d_ENU=%s" % (i, name_en), "Ctg_%d_RUS=%s" % (i, name_ru)]
        for j, (abr_en, abr_ru, dsc_en, dsc_ru, mul) in enumerate(units):
            lines += [
                "Abr_%d_%d_ENU=%s" % (i, j, abr_en),
                "Abr_%d_%d_RUS=%s" % (i, j, abr_ru),
                "Dsc_%d_%d_ENU=%s" % (i, j, dsc_en),
                "Dsc_%d_%d_RUS=%s" % (i, j, dsc_ru),
                "Mul_%d_%d=%s" % (i, j, mul),
            ]
    return lines


def main():
    lines = catalogue_lines()
    data = "".join(line + "\r" for line in lines).encode("cp1251")
    longest = max(len(line.encode("cp1251")) for line in lines)
    names = [line.split("=", 1)[0].lower() for line in lines]
    if len(set(names)) != len(names) or longest > 255:
        sys.exit("catalogue: a name repeats or a line is too long")
    out = pathlib.Path(__file__).resolve().parent.parent / "assets" / "units_catalogue.txt"
    out.write_bytes(data)
    print("%s: %d lines, %d bytes, longest line %d bytes" % (out, len(lines), len(data), longest))


if __name__ == "__main__":
    main()
