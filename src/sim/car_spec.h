#pragma once

#include <string_view>

namespace velnor {

// Body types; the value selects the body shape in the model file.
enum BodyType : int {
    kSedan = 0,
    kVan = 1,
    kOneBox = 2,
    kHatchback = 3,
    kCoupe = 4,
    kTruck = 5,
    kBus = 6,
};
inline constexpr int kBodyTypeCount = 7;

// The air-resistance coefficient proposed for a body type (kgf per m² per (km/h)²); 0 outside
// 0-6.
double proposedAirCoefficient(int bodyType);

// The name of a body type as the dialogs show it, in Shift-JIS; empty outside 0-6.
const char* bodyTypeLabel(int bodyType);

// The technical data of one car as its author enters it. Lengths are held in metres (files and
// dialogs use millimetres). Every setter tests its value and silently keeps the previous one when
// the test fails; non-finite numbers never pass.
class CarSpec {
public:
    static constexpr int kGears = 6;
    static constexpr int kNameSize = 32;
    static constexpr int kCommentSize = 64;

    CarSpec() { initialise(); }

    // The fresh state: named "Velnor", every number 0, body type 0, automatic. The comment is not
    // touched (it is empty in a new record).
    void initialise();

    const char* carname() const { return carname_; }
    const char* comment() const { return comment_; }
    double width() const { return width_; }               // m
    double height() const { return height_; }             // m
    double wheelbase() const { return wheelbase_; }       // m
    double weight() const { return weight_; }             // kg, also the weight force in kgf
    double displacement() const { return displacement_; } // cc
    double compression() const { return compression_; }
    double power() const { return power_; }   // PS
    double torque() const { return torque_; } // kg·m
    double gear(int index) const;             // ratio of gear index+1; 0 outside 0-5
    double slow() const { return slow_; }     // final reduction ratio
    double tire() const { return tire_; }     // tyre diameter, m
    int type() const { return type_; }
    int automatic() const { return automatic_; } // 1 automatic, 0 manual
    double air() const { return air_; }

    // Number of leading nonzero gear ratios (0-6); ratios behind a 0 are never used.
    int usableGears() const;

    // Text is cut to its field (31 and 63 bytes) at a Shift-JIS character boundary.
    void setCarname(std::string_view text);
    void setComment(std::string_view text);
    void setWidth(double metres);          // > 0
    void setHeight(double metres);         // > 0
    void setWheelbase(double metres);      // > 0
    void setWeight(double kg);             // > 0
    void setDisplacement(double cc);       // > 0
    void setCompression(double ratio);     // > 0
    void setPower(double ps);              // > 0
    void setTorque(double kgm);            // > 0
    void setGear(int index, double ratio); // index 0-5, ratio >= 0
    void setSlow(double ratio);            // >= 0
    void setTire(double metres);           // > 0
    void setType(int type) { type_ = type; }
    void setAutomatic(int automatic) { automatic_ = automatic == 1 ? 1 : 0; }
    void setAir(double coefficient); // >= 0

    // The tyre from the text of a file or dialog: a size designation W/AARD (section width in mm,
    // aspect ratio in %, rim diameter in inches) gives the overall diameter by the metric tyre
    // code, rim plus twice the section height (195/65R15 is 0.6345 m); a designation without "R"
    // is refused. A text without "/" is the diameter in metres.
    void setTireFromText(std::string_view text);

private:
    char carname_[kNameSize];
    char comment_[kCommentSize] = {};
    double width_;
    double height_;
    double wheelbase_;
    double weight_;
    double displacement_;
    double compression_;
    double power_;
    double torque_;
    double gear_[kGears];
    double slow_;
    double tire_;
    int type_;
    int automatic_;
    double air_;
};

} // namespace velnor
