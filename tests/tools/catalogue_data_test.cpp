// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/store_builder/character_data.h"
#include "tools/store_builder/character_set.h"

namespace qir::tools {
namespace {
namespace fs = std::filesystem;

// The program's catalogue: every character it offers, by stroke count.
struct StrokeGroup {
    int strokes;
    int count;
    const char* characters;
};

const StrokeGroup kCatalogue[] = {
    {1, 1, "一"},
    {2, 14, "八卜厂刀儿二几九力了七人十又"},
    {3, 40, "才叉寸大凡飞干个工广及巾久口马么门女千三山上勺士土万卫习下乡小也已义亿于与丈之子"},
    {4, 84,
     "巴办比币不长车尺从订斗队乏反方分丰风夫父公互户化火计见介今斤仅井巨开孔历六毛木内"
     "牛匹片气欠切区劝认仍日少升什手书双水太天厅王为文无五午心牙以忆艺引尤友元月云允扎"
     "支止中专"},
    {5, 103,
     "白半包北本必边布册出处打代电东冬对发犯付功古瓜汉号乎击记加叫节纠旧句卡可乐礼厉立"
     "令另龙矛们灭民母目奶鸟皮平扑巧且去让扔闪生失石史世市示术甩丝司四他它台讨田头外未"
     "务写兄训讯央业叶仪议印永用由右玉占召正只主仔左"},
    {6, 171,
     "安百毕闭冰并产场闯成吃池充冲虫传创此次存达当导灯地吊丢动多夺朵而耳防仿访份妇负刚"
     "各巩共关观光过汗好合红后划欢灰回会伙圾机级纪夹价尖件江讲交阶她尽决军扛考扣扩老列"
     "论妈吗买迈忙米名那年农乓乒朴齐企庆全任肉如伞扫色杀伤舌设师式收守死似岁汤同吐团托"
     "网危伟问污伍西吸戏吓先纤向兴行休许血寻迅压延厌扬羊阳仰爷页衣异因阴优有羽约杂再在"
     "早则阵争执至众竹庄字自"},
    {7, 175,
     "阿吧把扮报别兵伯补步材层肠抄吵彻沉迟初床吹词村呆但岛低弟冻抖豆肚吨泛饭纺吩纷佛否"
     "扶附改杆肝告更攻贡估含何护花坏还鸡即极技际坚间角劲近进究局拒均抗克块快况困来劳冷"
     "李里丽利励连良两邻灵陆乱麦没每免妙亩你扭弄努判批评启弃汽抢穷求却扰忍沙社伸身声时"
     "识束私诉体条听投完忘围违尾位我希系闲县辛形秀序呀严言医译应迎邮余员园远运灾皂张找"
     "折这针证址纸志住助抓状走足作坐"},
    {8, 199,
     "岸拔爸败板版宝饱抱杯备变表采参厕拆衬承诚抽刺单担到的底典店钓顶定法范房放非肥肺奋"
     "肤服府咐该供狗构购姑固刮拐怪官贯规国果和河呼忽虎画话环昏或货季驾肩艰拣建降郊姐届"
     "金京经净居具卷刻肯空苦矿垃拉拦郎泪例怜练林录轮码卖妹庙明命闹呢泥念爬怕拍朋披苹坡"
     "泼迫妻其奇浅枪青取软衫绍舍诗实使始事势视试受叔述刷松肃所抬态图兔拖玩往委味武物析"
     "细现线限详享些姓幸性学沿夜依宜易英拥泳油鱼雨育择责招者征知织直制治质终周注转组"},
    {9, 192,
     "按拜帮保背扁便标饼玻草测查茶差尝城持除穿春促带待胆挡帝点洞独度段盾费封复钢革给骨"
     "故挂冠鬼贵哈孩贺很恨厚胡皇恢挥活迹急挤既济架将奖骄饺结界举绝觉砍看科咳客括览烂类"
     "厘俩炼亮临律骂脉贸美迷面秒某哪耐南浓怒派盼胖炮盆拼品牵前亲侵轻秋染绕荣洒神牲胜省"
     "施狮拾食室是柿适首树顺说思送俗虽逃挑贴庭挺统突退挖歪弯胃闻屋误洗显险相香响项信星"
     "型修须宣选咽研洋养咬药要姨姻音映勇语院咱怎战政指钟种重祝追总祖昨"},
    {10, 172,
     "啊挨爱案班般倍被笔宾病捕部柴倡称乘翅臭础脆党倒敌递调都逗读顿饿烦粉逢浮赶高哥胳格"
     "根顾海害航候壶换悔获积继家捡健较借紧竞酒俱剧绢烤课恳恐哭宽捆狼朗浪捞离恋凉谅料烈"
     "铃流留旅虑埋秘拿难脑能娘旁陪配疲瓶破起铅钱悄桥请缺热容弱晒扇烧射殊谁素速损谈烫套"
     "特疼铁通透涂途袜悟息牺席夏消晓效校笑胸袖烟盐宴验样益谊预原圆阅脏造窄展站涨哲真值"
     "秩致株珠逐准捉桌资租钻座"},
    {11, 131,
     "笨脖猜彩菜常唱晨崇船粗袋弹淡蛋盗得第掉堵断堆符辅副盖敢够馆毫盒黄婚混基绩寄假减剪"
     "检渐脚教接惊竟救据距菌康控啦累梨理粒脸梁辆领率绿略萝麻猫梦密描您排盘捧偏票骑清情"
     "球渠圈商蛇深绳授宿随探堂掏梯添甜停铜桶偷推脱晚望维悉掀象斜械虚绪续雪眼野液移银营"
     "悠跃粘章睁职猪著着族做"},
    {12, 115,
     "傲傍悲逼编遍策插超朝趁程厨窗搭答道登等跌渡短鹅愤幅傅富港割搁隔锅寒喊喝黑猴湖滑慌"
     "辉集践街景敬就棵渴裤款阔联量落帽棉牌跑赔喷脾骗铺普期欺强晴确裙然惹锐散嫂森善稍剩"
     "湿释舒暑塔毯提替童痛喂温握喜羡谢雄椅硬游愉遇援越暂曾掌植属煮筑装紫最尊"},
    {13, 67,
     "矮暗摆搬碑辟愁楚触催错叠躲蜂福概感搞跟鼓跪滚简键酱解禁跨蓝雷粮零龄楼路满煤摸漠暖"
     "碰签群嗓傻输数睡塑碎填跳腿碗微雾献想像歇新腰摇意源照置"},
    {14, 46,
     "榜膀鼻膊察磁滴端锻腐歌管精境静颗璃漏馒慢貌蜜模慕漂旗歉墙敲赛瘦摔嗽酸算缩稳舞鲜熊"
     "需演疑愿遭摘"},
    {15, 33, "播踩聪醋稻德懂糊稼箭蕉靠墨篇飘趣撒蔬熟撕躺趟踢题慰箱鞋颜影增撞醉遵"},
    {16, 22, "壁避薄餐操糕激镜橘篮懒磨默器燃糖醒邀赞澡整嘴"},
    {17, 8, "擦藏戴繁瞧赢糟燥"},
    {18, 1, "翻"},
    {19, 2, "蹲警"},
    {20, 1, "嚷"},
    {21, 1, "露"},
    {23, 1, "罐"},
};

TEST(CatalogueData, EveryCatalogueCharacterHasDataWithItsGroupsStrokeCount) {
    const fs::path data = QIR_STROKE_DATA_DIR;
    if (!fs::exists(data / "package.json")) {
        GTEST_SKIP() << "the stroke data is not installed (scripts/stroke-data.sh)";
    }
    std::set<std::string> keys;
    for (const auto& entry : allGb2312Hanzi()) {
        keys.insert(entry.key);
    }
    int total = 0;
    std::set<QString> seen;
    for (const StrokeGroup& group : kCatalogue) {
        const QList<uint> characters = QString::fromUtf8(group.characters).toUcs4();
        EXPECT_EQ(static_cast<int>(characters.size()), group.count) << group.strokes;
        for (const uint codePoint : characters) {
            const QString text =
                QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
            ++total;
            EXPECT_TRUE(seen.insert(text).second) << text.toStdString() << " twice";
            const auto entry = charactersFromText(text);
            ASSERT_EQ(entry.size(), 1u);
            EXPECT_TRUE(keys.count(entry[0].key)) << text.toStdString();
            std::ifstream in(data / fs::u8path(text.toStdString() + ".json"), std::ios::binary);
            ASSERT_TRUE(in) << text.toStdString() << " has no stroke data";
            const std::string json((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            EXPECT_EQ(static_cast<int>(parseCharacterJson(json).strokes.size()), group.strokes)
                << text.toStdString();
        }
    }
    EXPECT_EQ(total, 1579);
}

}  // namespace
}  // namespace qir::tools
