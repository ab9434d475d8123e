#!/usr/bin/env python3
"""Writes the larger demo tables (repairers, customers, repair orders) as TSV files.

The rows come from a fixed random seed, so running this again gives the same files; edit the
lists below and run it to change the demo data:  python3 make_bulk_tables.py
"""
import csv
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(20240315)

STATIONS = {  # station: (department, city)
    "SH-MH01": ("RD01", "上海"), "SH-PD01": ("RD01", "上海"), "SH-XH01": ("RD02", "上海"),
    "SH-JA01": ("RD03", "上海"), "BJ-CY01": ("RD02", "北京"), "BJ-HD01": ("RD05", "北京"),
    "GZ-TH01": ("RD04", "广州"), "SZ-NS01": ("RD05", "深圳"), "HZ-XH01": ("RD03", "杭州"),
    "NJ-GL01": ("RD04", "南京"), "CD-WH01": ("RD06", "成都"), "WH-WC01": ("RD06", "武汉"),
    "SH-YC01": ("RD07", "上海"),
}
SURNAMES = "王李张刘陈杨黄赵周吴徐孙马朱胡郭何林罗高梁郑谢宋唐韩冯于董萧程曹袁邓许傅沈曾彭吕"
GIVEN = ["伟", "芳", "娜", "敏", "静", "强", "磊", "军", "洋", "勇", "艳", "杰", "涛", "明", "超",
         "秀兰", "霞", "平", "刚", "桂英", "建华", "志强", "海燕", "文斌", "晓东", "国庆", "丽娟",
         "春生", "玉梅", "德明"]
SKILLS = ["冰箱", "洗衣机", "空调", "电视", "热水器", "油烟机", "微波炉", "电饭煲", "净水器"]


def person():
    return rng.choice(SURNAMES) + rng.choice(GIVEN)


def write(table, header, rows):
    with open(os.path.join(HERE, table + ".tsv"), "w", encoding="utf-8", newline="") as f:
        out = csv.writer(f, delimiter="\t", lineterminator="\n", quoting=csv.QUOTE_NONE)
        out.writerow(header)
        out.writerows(rows)


def repairers():
    rows = []
    for n in range(1, 37):
        station = rng.choice(list(STATIONS))
        rows.append([f"R{n:04d}", person(), station, STATIONS[station][0],
                     f"13{rng.randint(5, 9)}{rng.randint(10000000, 99999999)}",
                     "、".join(rng.sample(SKILLS, 2))])
    return rows


COMPANY_PARTS = [("华联", "超市"), ("锦江", "酒店"), ("东方", "物业"), ("新世纪", "商厦"),
                 ("长城", "宾馆"), ("金桥", "写字楼"), ("阳光", "幼儿园"), ("明珠", "大饭店"),
                 ("恒隆", "广场"), ("百盛", "购物中心"), ("如家", "快捷酒店"), ("仁济", "医院"),
                 ("复兴", "中学"), ("光明", "食品厂"), ("海天", "酱油厂"), ("万科", "物业")]
CITIES = ["上海", "北京", "广州", "深圳", "杭州", "南京", "成都", "武汉"]
STREETS = ["人民路", "中山路", "解放路", "建设路", "南京路", "和平路", "长江路", "黄河路"]


def customers():
    rows = []
    for n in range(1, 61):
        city = rng.choice(CITIES)
        if n % 3 == 0:
            brand, kind = COMPANY_PARTS[(n // 3) % len(COMPANY_PARTS)]
            short = f"{city}{brand}{kind}"
            full = f"{city}{brand}{kind}有限公司"
            contact = person()
        else:
            contact = person()
            short = contact
            full = f"{contact}(个人客户)"
        rows.append([f"C{n:04d}", short, full, contact,
                     f"1{rng.choice('3589')}{rng.randint(100000000, 999999999)}",
                     f"{city}市{rng.choice(STREETS)}{rng.randint(1, 999)}号", city])
    return rows


PRODUCTS = [("BCD-{}W 对开门冰箱", [452, 508, 545, 630], ["不制冷", "冷藏室结霜", "压缩机异响", "门封条老化"]),
            ("XQG{}-B 滚筒洗衣机", [80, 90, 100], ["不排水", "脱水时震动大", "门锁打不开", "显示E4故障码"]),
            ("KFR-{}GW 变频空调", [26, 35, 50, 72], ["制热效果差", "室外机不启动", "漏水", "遥控无反应"]),
            ("{}英寸液晶电视", [43, 55, 65, 75], ["无图像有声音", "屏幕出现竖线", "无法开机", "WiFi连接不上"]),
            ("JSQ{}-13 燃气热水器", [24, 26, 30], ["点不着火", "水温忽冷忽热", "显示E1故障码"]),
            ("CXW-{}-A 吸油烟机", [200, 218, 260], ["吸力减弱", "噪音大", "照明灯不亮"]),
            ("M1-L{} 微波炉", [213, 236], ["不加热", "转盘不转", "门关不严"])]
TYPES = ["RM01", "RM02", "RM03"]  # walk-in repair, on-site repair, warranty repair


def orders():
    departments = {st: dep for st, (dep, _) in STATIONS.items()}
    by_station = {}
    for r in repairer_rows:
        by_station.setdefault(r[2], []).append(r[0])
    rows = []
    serial = {t: 0 for t in TYPES}
    day_numbers = {}
    for n in range(320):
        month = 1 + n * 6 // 320  # January to June 2024, in order
        day = rng.randint(1, 28)
        date = f"2024{month:02d}{day:02d}"
        kind = rng.choices(TYPES, weights=[6, 3, 2])[0]
        serial[kind] += 1
        day_numbers[(kind, date)] = day_numbers.get((kind, date), 0) + 1
        number = f"{date}{day_numbers[(kind, date)]:03d}"  # 11 characters
        station = rng.choice([s for s in STATIONS if s in by_station])
        repairer = rng.choice(by_station[station])
        customer = rng.choice(customer_rows)[0]
        model, sizes, faults = rng.choice(PRODUCTS)
        state = rng.choices([0, 1, 2, 3], weights=[3, 1, 1, 6])[0]
        approval = rng.choices(["Y", "N", "V"], weights=[7, 3, 1])[0]
        finished = ""
        if state == 3:
            finished = f"2024{month:02d}{min(28, day + rng.randint(0, 6)):02d}"
        amount = 0.0 if kind == "RM03" else round(rng.uniform(50, 1500), 2)
        rows.append([kind, number, date, customer, departments[station], station, repairer,
                     approval, state, model.format(rng.choice(sizes)),
                     f"SN{rng.randint(10**9, 10**10 - 1)}", rng.choice(faults),
                     f"{amount:.2f}", finished])
    rows.sort(key=lambda r: (r[0], r[1]))
    return rows


repairer_rows = repairers()
customer_rows = customers()
write("RMAMB", ["MB001", "MB002", "MB003", "MB004", "MB005", "MB006"], repairer_rows)
write("COPMA", ["MA001", "MA002", "MA003", "MA004", "MA005", "MA006", "MA007"], customer_rows)
write("RMATC", ["TC001", "TC002", "TC003", "TC004", "TC005", "TC006", "TC007", "TC008", "TC009",
                "TC010", "TC011", "TC012", "TC013", "TC014"], orders())
