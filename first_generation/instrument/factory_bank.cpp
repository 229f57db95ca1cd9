#include "first_generation/instrument/factory_bank.h"

template class ProgramBankOf<23>;

namespace firstgen {

// Per program: its name, then the 23 values in parameter index order.

// clang-format off
const ProgramRecord kFactoryBank[kProgramCount] = {
    {"Big Chord",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      1, 1, 0.635f, 1, 0.705f, 1, 0.75f, 0.92f, 0.345f, 0.81f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.685f, 0, 1, 0.325f, 0.14f, 0.515f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0, 0.49f, 0.825f, 0.67f, 0.535f, 0.37f}},
    {"Rainy",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      1, 0, 0, 0, 0, 0, 0, 1, 0.34f, 0.81f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.62f, 0, 0.615f, 0.19f, 0.185f, 0.84f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0, 0.535f, 0, 0.7f, 0.53f, 0.325f}},
    {"Organesque",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      1, 1, 0, 0, 0, 0, 0, 0, 0.075f, 1,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.83f, 0.03f, 0.775f, 0, 1, 0.03f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0.1f, 0.03f, 1, 0.41f, 0.56f, 0.255f}},
    {"Techno piz",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      1, 1, 1, 1, 1, 1, 1, 1, 1, 0.745f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.025f, 0, 0.02f, 0.4f, 0.3f, 0.865f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0, 0.505f, 0, 0.44f, 0.295f, 0.435f}},
    {"Voxxy",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      0, 1, 0.18f, 1, 0.78f, 0.195f, 0.575f, 0.24f, 0.855f, 0.84f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.39f, 0.03f, 0.975f, 0.195f, 0.19f, 0.49f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0.395f, 0.8f, 0.76f, 1, 0.315f, 0.36f}},
    {"Syn String",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      1, 0.735f, 0.975f, 0.73f, 1, 0.715f, 0.605f, 0.545f, 0.285f, 0.865f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.415f, 0.03f, 1, 0.205f, 0.19f, 0.03f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0.07f, 0.09f, 1, 0.65f, 0.52f, 0.555f}},
    {"Not a vibraphone",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      0, 0.005f, 0, 0.955f, 0, 0, 0, 0.77f, 0.25f, 0.305f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.02f, 0, 0.015f, 0.19f, 0.17f, 0.72f,
      // "A", "D", "S", "R", "Vel", "Vol"
      0, 0.17f, 0, 0.15f, 0.43f, 0.37f}},
    {"The Excruciator",
     {// "Wave 1" to "Wave 8", "BndWdth", "Width"
      0.03f, 1, 0, 0, 1, 0, 1, 1, 0.19f, 0.315f,
      // "flt A", "flt D", "flt S", "flt R", "flt Env", "flt Cut", "flt Vel"
      0, 0.025f, 0.03f, 0.02f, 0.21f, 0.22f, 1,
      // "A", "D", "S", "R", "Vel", "Vol"
      0, 0.445f, 0.03f, 0.36f, 0.8f, 0.41f}},
};
// clang-format on

}  // namespace firstgen
