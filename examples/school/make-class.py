#!/usr/bin/env python3
"""Writes the sample class of this folder: class.txt (40 pupils x 30 items, 4 choices) and its
blueprint class.blueprint.csv (8 indicators of a grade 7 mathematics test). Run it from any folder;
the same files come out every time (fixed seed).

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


if __name__ == "__main__":
    main()
