#!/usr/bin/env python3
"""Writes the sample classes of this folder: class.txt (40 pupils x 30 items, 4 choices) and its
blueprint class.blueprint.csv (8 indicators of a grade 7 mathematics test); three rooms of the grade
that sat the same test, m1-1.txt to m1-3.txt; and the test printed as two shuffled forms,
class-forms.forms.csv, taken by class-forms.txt. Run it from any folder; the same files come out every
time (fixed seeds).

Pupils answer by ability: an item's chance of a right answer rises with the pupil's ability and
falls with the item's difficulty, and a quarter of the guesses are right. The class is weaker on
exponents than the blueprint planned, and two items are not as hard as intended, so the visual
report has something to say.
"""
import csv
import math
import pathlib
import random

HERE = pathlib.Path(__file__).resolve().parent
random.seed(2567)

# Code, description, intended difficulty and Bloom level of each indicator's items.
INDICATORS = [
    ("ค 1.1 ม.1/1", "เข้าใจจำนวนตรรกยะและความสัมพันธ์ของจำนวนตรรกยะ และใช้สมบัติของจำนวนตรรกยะในการแก้ปัญหา",
     ["ง่าย", "ง่าย", "ปานกลาง", "ปานกลาง", "ยาก"], ["จำ", "เข้าใจ", "นำไปใช้", "นำไปใช้", "วิเคราะห์"]),
    ("ค 1.1 ม.1/2", "เข้าใจและใช้สมบัติของเลขยกกำลังที่มีเลขชี้กำลังเป็นจำนวนเต็มบวกในการแก้ปัญหา",
     ["ง่าย", "ปานกลาง", "ปานกลาง", "ยาก"], ["จำ", "เข้าใจ", "นำไปใช้", "วิเคราะห์"]),
    ("ค 1.2 ม.1/1", "เข้าใจและประยุกต์ใช้อัตราส่วน สัดส่วน และร้อยละในการแก้ปัญหาในชีวิตจริง",
     ["ง่าย", "ง่าย", "ปานกลาง", "ปานกลาง", "ยาก"], ["เข้าใจ", "นำไปใช้", "นำไปใช้", "นำไปใช้", "วิเคราะห์"]),
    ("ค 1.3 ม.1/1", "ใช้สมบัติของการเท่ากันและสมบัติของจำนวนในการแก้สมการเชิงเส้นตัวแปรเดียว",
     ["ง่าย", "ปานกลาง", "ปานกลาง", "ยาก"], ["เข้าใจ", "นำไปใช้", "นำไปใช้", "วิเคราะห์"]),
    ("ค 1.3 ม.1/2", "เข้าใจและใช้ความรู้เกี่ยวกับคู่อันดับและกราฟในการแก้ปัญหา",
     ["ง่าย", "ปานกลาง", "ยาก"], ["จำ", "นำไปใช้", "วิเคราะห์"]),
    ("ค 2.2 ม.1/1", "ใช้ความรู้ทางเรขาคณิตและเครื่องมือ เช่น วงเวียนและสันตรง สร้างรูปเรขาคณิต",
     ["ง่าย", "ปานกลาง", "ยาก"], ["จำ", "นำไปใช้", "สร้างสรรค์"]),
    ("ค 2.2 ม.1/2", "เข้าใจมิติสัมพันธ์ระหว่างรูปเรขาคณิตสองมิติและสามมิติ",
     ["ง่าย", "ปานกลาง", "ยาก"], ["เข้าใจ", "นำไปใช้", "วิเคราะห์"]),
    ("ค 3.1 ม.1/1", "เข้าใจและใช้ความรู้ทางสถิติในการนำเสนอข้อมูลและแปลความหมายของข้อมูล",
     ["ง่าย", "ปานกลาง", "ยาก"], ["เข้าใจ", "นำไปใช้", "ประเมินค่า"]),
]
DIFFICULTY = {"ง่าย": -1.2, "ปานกลาง": 0.0, "ยาก": 1.1}
WEAK_INDICATOR = "ค 1.1 ม.1/2"  # taught in a hurry: every item of it is harder than planned
EASIER_THAN_PLANNED = {15, 27}   # hard on paper, but the class had practised just these


def main():
    items = []  # (indicator code, description, intended difficulty, bloom, difficulty used)
    for code, description, intents, blooms in INDICATORS:
        for intent, bloom in zip(intents, blooms):
            b = DIFFICULTY[intent] + random.gauss(0, 0.25) + (1.0 if code == WEAK_INDICATOR else 0)
            items.append([code, description, intent, bloom, b])
    for number in EASIER_THAN_PLANNED:
        items[number - 1][4] = -1.5
    key = "".join(random.choice("1234") for _ in items)

    lines = ["KEY-- " + key]
    for pupil in range(1, 41):
        ability = random.gauss(0.2, 1.0)
        answers = []
        for (code, _, _, _, b), right in zip(items, key):
            mark = random.random()
            if mark < 0.01:
                answers.append(" ")  # left blank
            elif mark < 0.015:
                answers.append("*")  # two boxes marked
            elif random.random() < 0.25 + 0.75 / (1 + math.exp(-1.7 * (ability - b))):
                answers.append(right)
            else:
                answers.append(random.choice([c for c in "1234" if c != right]))
        lines.append("%d %s" % (66100 + pupil, "".join(answers)))
    (HERE / "class.txt").write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))

    with open(HERE / "class.blueprint.csv", "w", encoding="utf-8-sig", newline="") as out:
        writer = csv.writer(out, lineterminator="\r\n")
        writer.writerow(["ข้อ", "ตัวชี้วัด", "คำอธิบาย", "ความยาก", "ระดับพฤติกรรม"])
        for number, (code, description, intent, bloom, _) in enumerate(items, start=1):
            writer.writerow([number, code, description, intent, bloom])

    write_rooms(items, key)
    write_forms(items, key)


def answer(rng, right, ability, b):
    """One pupil's mark on one item, by ability against the item's difficulty b."""
    mark = rng.random()
    if mark < 0.01:
        return " "  # left blank
    if mark < 0.015:
        return "*"  # two boxes marked
    if rng.random() < 0.25 + 0.75 / (1 + math.exp(-1.7 * (ability - b))):
        return right
    return rng.choice([c for c in "1234" if c != right])


def write_data(name, label, ids, sheets, key):
    lines = [label + " " + key] + ["%s %s" % (i, s) for i, s in zip(ids, sheets)]
    (HERE / name).write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


# Three rooms of the same grade sat the same test. Room 2 was taught exponents well, so that
# indicator's items are easier there; in room 3 item 12 had been passed round before the test.
ROOMS = [("m1-1.txt", 36, 0.0), ("m1-2.txt", 38, 0.3), ("m1-3.txt", 35, -0.2)]
LEAKED_ITEM = 12


def write_rooms(items, key):
    rng = random.Random(2568)  # apart from the class above, which stays as it was
    for room, (name, size, lift) in enumerate(ROOMS, start=1):
        ids, sheets = [], []
        for pupil in range(1, size + 1):
            ability = rng.gauss(lift, 1.0)
            marks = []
            for number, ((code, _, _, _, b), right) in enumerate(zip(items, key), start=1):
                if room == 2 and code == WEAK_INDICATOR:
                    b -= 1.3
                if room == 3 and number == LEAKED_ITEM:
                    b = -4.0
                marks.append(answer(rng, right, ability, b))
            ids.append("%d" % (66000 + room * 100 + pupil))
            sheets.append("".join(marks))
        write_data(name, "KEY--", ids, sheets, key)


# The same test printed as two forms: A is the master, B has the items in another order and the
# options of every other item shuffled. Pupils' identifiers end with their form's letter. B opens
# with the hardest items and was printed on cramped pages, so it ran harder, and its 28th item was
# smudged in printing.
SMUDGED_PLACE = 28
def write_forms(items, key):
    rng = random.Random(2569)
    order = sorted(range(1, len(items) + 1), key=lambda number: -items[number - 1][4])
    options = {}
    for place in range(1, len(items) + 1):
        shuffled = list("1234")
        if place % 2 == 0:
            rng.shuffle(shuffled)
        options[place] = "".join(shuffled)
    with open(HERE / "class-forms.forms.csv", "w", encoding="utf-8-sig", newline="") as out:
        writer = csv.writer(out, lineterminator="\r\n")
        writer.writerow(["ชุด", "ข้อ", "ข้อต้นฉบับ", "ลำดับตัวเลือก"])
        for number in range(1, len(items) + 1):
            writer.writerow(["A", number, number, ""])
        for place, master in enumerate(order, start=1):
            writer.writerow(["B", place, master, options[place]])

    ids, sheets = [], []
    for pupil in range(1, 41):
        form = "A" if pupil % 2 else "B"
        ability = rng.gauss(0.2, 1.0)
        master = []
        for number, ((_, _, _, _, b), right) in enumerate(zip(items, key), start=1):
            place = order.index(number) + 1
            harder = (0.6 + (2.5 if place == SMUDGED_PLACE else 0.0)) if form == "B" else 0.0
            master.append(answer(rng, right, ability, b + harder))
        if form == "A":
            sheet = "".join(master)
        else:  # each place shows a master item, with the master's options in the form's order
            sheet = "".join(
                str(options[place].index(master[m - 1]) + 1) if master[m - 1] in "1234" else master[m - 1]
                for place, m in enumerate(order, start=1))
        ids.append("%d%s" % (66300 + pupil, form))
        sheets.append(sheet)
    write_data("class-forms.txt", "KEY---", ids, sheets, key)


if __name__ == "__main__":
    main()
